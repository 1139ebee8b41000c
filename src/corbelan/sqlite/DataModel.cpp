#include <corbelan/sqlite/DataModel.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QMetaProperty>

DataModel::DataModel(QObject *parent)
    : QObject(parent)
{
}

DataModel::~DataModel() = default;

bool DataModel::initWithDictionary(const QVariantMap &)
{
    return false;
}

QVariant DataModel::jsonKeyPathsByProperty() const
{
    return {};
}

void DataModel::executeTransform() {}

QVariantMap DataModel::objectAsDictionary() const
{
    QVariantMap map;
    const QMetaObject *meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QVariant value = property.read(this);
        if (Bastwick::isNilOrNull(value))
            continue;
        if (value.metaType().id() == QMetaType::QString && value.toString().isNull())
            continue;
        map.insert(QString::fromLatin1(property.name()), value);
    }
    return map;
}

QString DataModel::description() const
{
    return Bastwick::describe(objectAsDictionary());
}
