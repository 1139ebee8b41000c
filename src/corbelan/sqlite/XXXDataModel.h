#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QObject>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

// The base of the application's record models. A record model's class name is its
// table's name and its Q_PROPERTY names are the column names, so the table
// data-access base can make it by name and fill it by key-value access. Plain
// construction gives a usable empty record.
class CORBELAN_EXPORT XXXDataModel : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXDataModel(QObject *parent = nullptr);
    ~XXXDataModel() override;

    // Fills the record from a dictionary keyed by field name and answers whether the
    // record is usable. The base builds nothing from a dictionary and answers false;
    // every model built from a dictionary overrides it.
    virtual bool initWithDictionary(const QVariantMap &dictionary);
    // Property name -> JSON key path; an invalid QVariant means no renaming.
    Q_INVOKABLE virtual QVariant jsonKeyPathsByProperty() const;
};
