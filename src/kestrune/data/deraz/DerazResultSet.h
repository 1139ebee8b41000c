#pragma once

#include "kestrune/data/model/DBResultSet.h"

// A result set of records with the two columns "key" and "value".
class DerazResultSet : public DBResultSetInf
{
public:
    explicit DerazResultSet(QList<DBRecordPtr> records);

    const QList<DBRecordPtr> &records() const { return m_records; }
    qint64 numberOfRecords() const override { return m_records.size(); }
    qint64 numberOfFields() const override { return 2; }
    QString identifierForTableColumnAtIndex(quint64 index) const override;
    QList<DBRecordPtr> recordsAtIndexes(const Bastwick::IndexSet &indexes) const;

private:
    QList<DBRecordPtr> m_records;
};
