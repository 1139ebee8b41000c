#include "kestrune/data/model/DBResultSet.h"

#include <QtCore/QCollator>

namespace {

// Texts compared as a file browser sorts names: runs of digits by their value, the rest
// by the locale, ignoring case.
int naturalCompare(const QString &a, const QString &b)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            QString da = a.mid(i, ei - i), db = b.mid(j, ej - j);
            while (da.size() > 1 && da.startsWith(QLatin1Char('0')))
                da.remove(0, 1);
            while (db.size() > 1 && db.startsWith(QLatin1Char('0')))
                db.remove(0, 1);
            if (da.size() != db.size())
                return da.size() < db.size() ? -1 : 1;
            if (const int c = da.compare(db))
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        qsizetype ei = i, ej = j;
        while (ei < a.size() && !a.at(ei).isDigit())
            ++ei;
        while (ej < b.size() && !b.at(ej).isDigit())
            ++ej;
        if (const int c = collator.compare(a.mid(i, ei - i), b.mid(j, ej - j)))
            return c < 0 ? -1 : 1;
        i = ei;
        j = ej;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace

DBRecord::~DBRecord() = default;
DBResultSetInf::~DBResultSetInf() = default;

DBResultSet::DBResultSet(QList<DBFieldPtr> fields, QList<DBTuplePtr> tuples)
    : m_fields(std::move(fields))
    , m_tuples(std::move(tuples))
{
}

DBResultSet::~DBResultSet() = default;

QList<DBTuplePtr> DBResultSet::recordsAtIndexes(const Bastwick::IndexSet &indexes) const
{
    const QList<DBTuplePtr> rows = tuples();
    QList<DBTuplePtr> out;
    for (const qint64 i : indexes.toList())
        if (i >= 0 && i < rows.size())
            out.append(rows.at(i));
    return out;
}

QString DBResultSet::identifierForTableColumnAtIndex(quint64 index) const
{
    const QList<DBFieldPtr> f = fields();
    if (index >= quint64(f.size()) || !f.at(qsizetype(index)))
        return {};
    return f.at(qsizetype(index))->name();
}

int DBResultSet::valueTypeForTableColumnAtIndex(quint64 index) const
{
    const QList<DBFieldPtr> f = fields();
    if (index >= quint64(f.size()) || !f.at(qsizetype(index)))
        return 0;
    return f.at(qsizetype(index))->dbType();
}

DBSortDescriptor DBResultSet::sortDescriptorPrototypeForTableColumnAtIndex(quint64 index) const
{
    DBSortDescriptor d;
    d.key = identifierForTableColumnAtIndex(index);
    if (valueTypeForTableColumnAtIndex(index) == 4) {
        d.compare = [](const QVariant &a, const QVariant &b) {
            return naturalCompare(a.toString(), b.toString());
        };
    } else {
        d.compare = [](const QVariant &a, const QVariant &b) {
            const QPartialOrdering order = QVariant::compare(a, b);
            if (order == QPartialOrdering::Less)
                return -1;
            if (order == QPartialOrdering::Greater)
                return 1;
            return 0;
        };
    }
    return d;
}

QVariantList DBResultSet::tupleAsDictionaryData() const
{
    QVariantList out;
    for (const DBTuplePtr &t : tuples())
        if (t)
            out.append(t->valuesKeyedByFieldName());
    return out;
}
