#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

// A model base like XXXDataModel, with a hook for work after the fields were filled and
// a description built from the class's own properties.
class CORBELAN_EXPORT DataModel : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit DataModel(QObject *parent = nullptr);
    ~DataModel() override;

    // The base builds nothing from a dictionary and answers false.
    virtual bool initWithDictionary(const QVariantMap &dictionary);
    Q_INVOKABLE virtual QVariant jsonKeyPathsByProperty() const;
    // Runs after the fields were filled from a row; does nothing here.
    Q_INVOKABLE virtual void executeTransform();
    // The properties declared by the object's own class, name -> value, leaving out
    // absent values (invalid, null marker, null texts).
    Q_INVOKABLE QVariantMap objectAsDictionary() const;
    // The description text of objectAsDictionary().
    Q_INVOKABLE virtual QString description() const;
};
