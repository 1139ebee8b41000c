#include <pavisade/trees/TreeLeafRows.h>

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

} // namespace Pavisade
