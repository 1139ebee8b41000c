#pragma once

#include "kestrune/data/model/DBResultSet.h"

// One key/value row of a Deraz record (a hash field, a list element, a set member or a
// sorted-set member with its score as the key).
class DerazKeyValuePair : public DBRecord
{
public:
    DerazKeyValuePair(QVariant key, QVariant value);
    const QVariant &key() const { return m_key; }
    const QVariant &value() const { return m_value; }
    QVariant valueForKey(const QString &name) const override;

private:
    QVariant m_key;
    QVariant m_value;
};
