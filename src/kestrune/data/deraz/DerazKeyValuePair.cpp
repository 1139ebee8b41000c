#include "kestrune/data/deraz/DerazKeyValuePair.h"

DerazKeyValuePair::DerazKeyValuePair(QVariant key, QVariant value)
    : m_key(std::move(key))
    , m_value(std::move(value))
{
}

QVariant DerazKeyValuePair::valueForKey(const QString &name) const
{
    if (name == QLatin1String("key"))
        return m_key;
    if (name == QLatin1String("value"))
        return m_value;
    return {};
}
