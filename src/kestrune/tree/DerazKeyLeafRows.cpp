#include <kestrune/tree/DerazKeyLeafRows.h>

#include <kestrune/data/records/CellText.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/tree/KeyTreeNodes.h>

#include <algorithm>

DerazKeyLeafRows::DerazKeyLeafRows(const QString &dbNodeURL, const DerazKeyList &keys)
    : m_dbNodeURL(dbNodeURL)
    , m_keys(keys)
{
    const qsizetype n = m_keys.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (isBlankKey(m_keys.view(i)))
            m_hidden.append(i);
    }
}

bool DerazKeyLeafRows::isBlankKey(QByteArrayView key)
{
    for (const char c : key) {
        switch (c) {
        case ' ':
        case '\t':
        case '\n':
        case '\r':
        case '\v':
        case '\f':
            continue;
        default:
            return false;
        }
    }
    return true;
}

qsizetype DerazKeyLeafRows::childCount() const
{
    return m_keys.size() - m_hidden.size();
}

qsizetype DerazKeyLeafRows::keyListPosition(qsizetype index) const
{
    if (m_hidden.isEmpty())
        return index;
    // The position p of the shown row satisfies p = index + (hidden positions <= p).
    qsizetype position = index;
    for (;;) {
        const qsizetype hiddenUpTo =
            std::upper_bound(m_hidden.cbegin(), m_hidden.cend(), position) - m_hidden.cbegin();
        const qsizetype next = index + hiddenUpTo;
        if (next == position)
            return position;
        position = next;
    }
}

QByteArray DerazKeyLeafRows::keyAt(qsizetype index) const
{
    if (index < 0 || index >= childCount())
        return {};
    return m_keys.at(keyListPosition(index));
}

QVariant DerazKeyLeafRows::childValue(qsizetype index, const QString &key) const
{
    if (index < 0 || index >= childCount())
        return {};
    if (key == QLatin1String("type"))
        return kDerazKeyNode;
    if (key == QLatin1String("name"))
        return Kestrune::displayText(keyAt(index));
    if (key == QLatin1String("url"))
        return DataStoreBO::keyNodeURL(m_dbNodeURL, keyAt(index));
    return {};
}

qsizetype DerazKeyLeafRows::indexOfUrl(const QString &url) const
{
    if (DataStoreBO::dbStoreURLFromNodeURL(url) != m_dbNodeURL || DataStoreBO::tableNameByURL(url).isNull())
        return -1;
    const qsizetype position = m_keys.indexOf(DataStoreBO::keyNameByURL(url));
    if (position < 0)
        return -1;
    const auto hidden = std::lower_bound(m_hidden.cbegin(), m_hidden.cend(), position);
    if (hidden != m_hidden.cend() && *hidden == position)
        return -1;
    return position - (hidden - m_hidden.cbegin());
}

QList<qsizetype> DerazKeyLeafRows::indexesOfUrls(const QSet<QString> &urls) const
{
    if (urls.size() <= kFewUrls)
        return TreeLeafRows::indexesOfUrls(urls); // a plain search per url is faster
    QSet<QByteArray> keys;
    for (const QString &url : urls)
        if (DataStoreBO::dbStoreURLFromNodeURL(url) == m_dbNodeURL &&
            !DataStoreBO::tableNameByURL(url).isNull())
            keys.insert(DataStoreBO::keyNameByURL(url));
    QList<qsizetype> found;
    if (keys.isEmpty())
        return found;
    // Shown rows skip the blank keys: walk the hidden positions alongside.
    auto hidden = m_hidden.cbegin();
    const qsizetype n = m_keys.size();
    for (qsizetype position = 0; position < n; ++position) {
        if (hidden != m_hidden.cend() && *hidden == position) {
            ++hidden;
            continue;
        }
        const QByteArrayView key = m_keys.view(position);
        if (keys.contains(QByteArray::fromRawData(key.data(), key.size())))
            found.append(position - (hidden - m_hidden.cbegin()));
    }
    return found;
}
