#include <pavisade/tables/TableRow.h>

#include <bastwick/platform/Text.h>

namespace Pavisade {

TableRow::~TableRow() = default;

bool TableRow::isEqual(const TableRow &other) const
{
    return this == &other;
}

QString TableRow::description() const
{
    return QStringLiteral("<row %1>").arg(quintptr(this), 0, 16);
}

bool rowsEqual(const TableRowPtr &a, const TableRowPtr &b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    return a->isEqual(*b);
}

DictionaryRow::DictionaryRow(const QVariantMap &values)
    : m_values(values)
{
}

std::shared_ptr<DictionaryRow> DictionaryRow::create(const QVariantMap &values)
{
    return std::make_shared<DictionaryRow>(values);
}

QVariant DictionaryRow::valueForKey(const QString &key) const
{
    return m_values.value(key);
}

bool DictionaryRow::setValueForKey(const QString &key, const QVariant &value)
{
    if (!value.isValid())
        return false;
    m_values.insert(key, value);
    return true;
}

TableRowPtr DictionaryRow::clone() const
{
    return std::make_shared<DictionaryRow>(m_values);
}

bool DictionaryRow::isEqual(const TableRow &other) const
{
    if (auto *row = dynamic_cast<const DictionaryRow *>(&other))
        return row->m_values == m_values;
    return false;
}

QString DictionaryRow::description() const
{
    return Bastwick::describe(m_values);
}

} // namespace Pavisade
