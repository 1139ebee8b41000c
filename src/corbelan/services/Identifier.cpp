#include <corbelan/services/Identifier.h>

Identifier::Identifier(QObject *parent)
    : QObject(parent)
{
}
