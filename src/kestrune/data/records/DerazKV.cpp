#include <kestrune/data/records/DerazKV.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/Text.h>

QString DerazKV::keyText() const
{
    return Bastwick::textFromBytes(m_key);
}

void DerazKV::setKeyText(const QString &text)
{
    m_key = Bastwick::bytesFromText(text);
}

QString DerazKV::valueText() const
{
    return Bastwick::textFromBytes(m_value);
}

void DerazKV::setValueText(const QString &text)
{
    m_value = Bastwick::bytesFromText(text);
}

QString DerazKV::description() const
{
    return Bastwick::format("key(%@) value(%@) ttl %ld", keyText(), valueText(), m_ttl);
}

bool DerazKV::operator==(const DerazKV &other) const
{
    return m_key == other.m_key && m_score == other.m_score && m_value == other.m_value &&
           m_ttl == other.m_ttl;
}

static QVariantList pairsToVariant(const QList<DerazKV> &pairs)
{
    QVariantList out;
    out.reserve(pairs.size());
    for (const DerazKV &kv : pairs)
        out.append(QVariant::fromValue(kv));
    return out;
}

QVariantList DerazHashKV::pairsVariant() const
{
    return pairsToVariant(m_pairs);
}

QVariantList DerazZSetKV::pairsVariant() const
{
    return pairsToVariant(m_pairs);
}

QStringList DerazListKV::valuesText() const
{
    QStringList out;
    out.reserve(m_values.size());
    for (const QByteArray &v : m_values)
        out.append(Bastwick::textFromBytes(v));
    return out;
}
