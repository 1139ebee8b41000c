#include <corbelan/sqlite/XXXDataModel.h>

XXXDataModel::XXXDataModel(QObject *parent)
    : QObject(parent)
{
}

XXXDataModel::~XXXDataModel() = default;

bool XXXDataModel::initWithDictionary(const QVariantMap &)
{
    return false;
}

QVariant XXXDataModel::jsonKeyPathsByProperty() const
{
    return {};
}
