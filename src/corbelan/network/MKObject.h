#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

// The base of model objects filled from a JSON object and written back as JSON text. A
// subclass declares Q_PROPERTYs; each member of the JSON object is assigned to the
// property of the same name. Members without a property are logged and skipped; a JSON
// null keeps a bool, number or enumeration property (logged) and clears any other. The
// object is written as the map of the properties its own class declares, nil values
// left out. Lives on the thread that made it.
class CORBELAN_EXPORT MKObject : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit MKObject(QObject *parent = nullptr);

    // Each fills the object and answers whether the text was a JSON object; a text that
    // is not JSON or holds an array or scalar at the top leaves it untouched, logged.
    // The text is read as UTF-16 data, so a lone surrogate in it is refused; data may be
    // UTF-8, UTF-16 or UTF-32 and must be valid in its encoding.
    bool initWithJSONString(const QString &text);
    bool initWithJSONData(const QByteArray &data);
    void initWithDictionary(const QVariantMap &dictionary);

    // Assigns one member: an undefined key is logged ("Undefined Key: <key>") and
    // ignored; a null for a bool, number or enumeration property is logged and ignored.
    void setValue(const QVariant &value, const QString &key);
    // The property's value; an undefined key is logged and answers nothing.
    QVariant valueForKey(const QString &key) const;

    Q_INVOKABLE QVariantMap objectAsDictionary() const;
    // Compact and indented JSON of objectAsDictionary(); a null text when a property holds
    // a kind JSON cannot carry (a date, an object).
    QString jsonString() const;
    QString prettyJsonString() const;
    Q_INVOKABLE QString description() const;
};
