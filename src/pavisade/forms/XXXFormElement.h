#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

// One element of a form panel: its title and identifier, its kind (0 label, 1 text
// field, 2 combo box, 3 check box), whether it is required, the combo box's entries and
// the initial value. Alignment, widths and editable are carried for the panel's users.
class PAVISADE_EXPORT XXXFormElement
{
    Q_GADGET
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString identifier MEMBER identifier)
    Q_PROPERTY(int elementType MEMBER elementType)
    Q_PROPERTY(quint64 alignment MEMBER alignment)
    Q_PROPERTY(double width MEMBER width)
    Q_PROPERTY(double minWidth MEMBER minWidth)
    Q_PROPERTY(bool editable MEMBER editable)
    Q_PROPERTY(bool required MEMBER required)
    Q_PROPERTY(QVariantList items MEMBER items)
    Q_PROPERTY(QVariant defaultVal MEMBER defaultVal)

public:
    QString title;
    QString identifier;
    int elementType = 0;
    quint64 alignment = 0;
    double width = 0;
    double minWidth = 0;
    bool editable = false;
    bool required = false;
    QVariantList items;
    QVariant defaultVal;
};

Q_DECLARE_METATYPE(XXXFormElement)
