#include "kestrune/data/deraz/DerazResultSet.h"

DerazResultSet::DerazResultSet(QList<DBRecordPtr> records)
    : m_records(std::move(records))
{
}

QString DerazResultSet::identifierForTableColumnAtIndex(quint64 index) const
{
    if (index == 0)
        return QStringLiteral("key");
    if (index == 1)
        return QStringLiteral("value");
    return {};
}

QList<DBRecordPtr> DerazResultSet::recordsAtIndexes(const Bastwick::IndexSet &indexes) const
{
    QList<DBRecordPtr> out;
    for (const qint64 i : indexes.toList())
        if (i >= 0 && i < m_records.size())
            out.append(m_records.at(i));
    return out;
}
