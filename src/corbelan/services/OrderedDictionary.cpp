#include <corbelan/services/OrderedDictionary.h>

#include <bastwick/platform/Text.h>

#include <algorithm>

OrderedDictionary::OrderedDictionary() = default;

OrderedDictionary::OrderedDictionary(qsizetype capacity)
{
    m_dictionary.reserve(capacity);
    m_array.reserve(capacity);
}

void OrderedDictionary::setObject(const QVariant &value, const QString &key)
{
    if (!m_dictionary.contains(key))
        m_array.append(key);
    m_dictionary.insert(key, value);
}

void OrderedDictionary::insertObject(const QVariant &value, const QString &key, qsizetype index)
{
    removeObjectForKey(key);
    m_array.insert(std::clamp<qsizetype>(index, 0, m_array.size()), key);
    m_dictionary.insert(key, value);
}

void OrderedDictionary::removeObjectForKey(const QString &key)
{
    if (m_dictionary.remove(key))
        m_array.removeOne(key);
}

QStringList OrderedDictionary::reverseKeyEnumerator() const
{
    QStringList keys = m_array;
    std::reverse(keys.begin(), keys.end());
    return keys;
}

QString OrderedDictionary::keyAtIndex(qsizetype index) const
{
    if (index < 0 || index >= m_array.size())
        return {};
    return m_array.at(index);
}

namespace {

QString formOf(const QVariant &value, const QLocale &locale, int level)
{
    if (value.metaType() == QMetaType::fromType<QString>())
        return value.toString();
    if (value.metaType() == QMetaType::fromType<OrderedDictionary>())
        return value.value<OrderedDictionary>().descriptionWithLocale(locale, level);
    // A nested collection continues at this level: its later lines are indented by it.
    QString text = Bastwick::describe(value);
    const QString indent = QString(4 * level, QLatin1Char(' '));
    if (level > 0)
        text.replace(QLatin1Char('\n'), QLatin1Char('\n') + indent);
    return text;
}

} // namespace

QString OrderedDictionary::descriptionWithLocale(const QLocale &locale, int level) const
{
    const QString indent = QString(4 * std::max(level, 0), QLatin1Char(' '));
    QString text = indent + QStringLiteral("{\n");
    for (const QString &key : m_array) {
        text += indent + QStringLiteral("    ") + key + QStringLiteral(" = ") +
                formOf(m_dictionary.value(key), locale, level) + QStringLiteral(";\n");
    }
    text += indent + QStringLiteral("}\n");
    return text;
}
