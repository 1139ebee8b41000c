#pragma once

#include "kestrune/data/deraz/DerazRecord.h"

// A key whose value is read into key/value pairs, answered as the record's children.
class DerazSortedSet : public DerazRecord
{
public:
    DerazSortedSet(const QByteArray &key, const std::shared_ptr<DerazConnection> &connection);

    const Pairs &keyValuePairs() const { return m_pairs; }
    QList<DBRecordPtr> children() const override;

private:
    Pairs m_pairs;
};
