#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>

// Accessors of one identifier property: reading answers the property's own name,
// writing stores nothing. The Q_PROPERTY line is written beside it.
#define XXX_IDENTIFIER_PROPERTY(name, setter)                                                                \
    QString name() const                                                                                     \
    {                                                                                                        \
        return QStringLiteral(#name);                                                                        \
    }                                                                                                        \
    void setter(const QString &) {}

// Names screens and routes by property access instead of typed text: each property,
// when read, answers its own name.
class CORBELAN_EXPORT Identifier : public QObject
{
    Q_OBJECT
    Q_PROPERTY(
        QString EXOneImageViewController READ EXOneImageViewController WRITE setEXOneImageViewController)
    Q_PROPERTY(QString EXImageViewController READ EXImageViewController WRITE setEXImageViewController)

public:
    explicit Identifier(QObject *parent = nullptr);

    XXX_IDENTIFIER_PROPERTY(EXOneImageViewController, setEXOneImageViewController)
    XXX_IDENTIFIER_PROPERTY(EXImageViewController, setEXImageViewController)
};
