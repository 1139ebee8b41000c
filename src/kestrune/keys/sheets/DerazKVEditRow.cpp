#include <kestrune/keys/sheets/DerazKVEditRow.h>

#include <kestrune/data/records/CellText.h>
#include <kestrune/data/records/DerazUnit.h>

#include <cmath>

DerazKVEditRow::DerazKVEditRow(const DerazKV &record, bool loaded)
    : m_record(record)
    , m_loaded(loaded)
{
}

std::shared_ptr<DerazKVEditRow> DerazKVEditRow::create(const DerazKV &record, bool loaded)
{
    return std::make_shared<DerazKVEditRow>(record, loaded);
}

QVariant DerazKVEditRow::valueForKey(const QString &key) const
{
    if (key == u"key") {
        if (!m_keyText)
            m_keyText = Kestrune::cellText(m_record.key());
        return *m_keyText;
    }
    if (key == u"value") {
        if (!m_valueText)
            m_valueText = Kestrune::cellText(m_record.value());
        return *m_valueText;
    }
    if (key == u"score")
        return QString::fromLatin1(DerazUnit::scoreText(m_record.score()));
    if (key == u"ttl")
        return QString::number(m_record.ttl());
    return {};
}

bool DerazKVEditRow::setValueForKey(const QString &key, const QVariant &value)
{
    if (!value.isValid())
        return false;
    const QString text = value.toString();
    if (key == u"key") {
        m_record.setKey(Kestrune::bytesFromCellText(text));
        m_keyText.reset();
        return true;
    }
    if (key == u"value") {
        m_record.setValue(Kestrune::bytesFromCellText(text));
        m_valueText.reset();
        return true;
    }
    if (key == u"score") {
        bool ok = false;
        const double score = DerazUnit::scoreFromText(text.toLatin1(), &ok);
        if (!ok || std::isnan(score) || text.trimmed().isEmpty())
            return false;
        m_record.setScore(score);
        return true;
    }
    if (key == u"ttl") {
        m_record.setTtl(Kestrune::integerValue(text));
        return true;
    }
    return false;
}

Pavisade::TableRowPtr DerazKVEditRow::clone() const
{
    return create(m_record, m_loaded);
}

bool DerazKVEditRow::isEqual(const TableRow &other) const
{
    const auto *row = dynamic_cast<const DerazKVEditRow *>(&other);
    return row && row->m_record == m_record && row->m_loaded == m_loaded;
}

QString DerazKVEditRow::description() const
{
    return m_record.description();
}
