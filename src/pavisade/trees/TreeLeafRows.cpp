#include <pavisade/trees/TreeLeafRows.h>

#include <algorithm>

namespace Pavisade {

TreeLeafRows::~TreeLeafRows() = default;

bool TreeLeafRows::setChildValue(qsizetype index, const QString &key, const QVariant &value)
{
    Q_UNUSED(index);
    Q_UNUSED(key);
    Q_UNUSED(value);
    return false;
}

qsizetype TreeLeafRows::indexOfUrl(const QString &url) const
{
    const QString key = QStringLiteral("url");
    const qsizetype count = childCount();
    for (qsizetype i = 0; i < count; ++i) {
        if (childValue(i, key).toString() == url)
            return i;
    }
    return -1;
}

QList<qsizetype> TreeLeafRows::indexesOfUrls(const QSet<QString> &urls) const
{
    QList<qsizetype> found;
    if (urls.size() <= kFewUrls) {
        for (const QString &url : urls)
            if (const qsizetype i = indexOfUrl(url); i >= 0)
                found.append(i);
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }
    const QString key = QStringLiteral("url");
    const qsizetype count = childCount();
    for (qsizetype i = 0; i < count; ++i)
        if (urls.contains(childValue(i, key).toString()))
            found.append(i);
    return found;
}

} // namespace Pavisade
