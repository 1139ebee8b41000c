#include <pavisade/sidepanes/XXXPropertiesViewDataDelegate.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

QVariantMap XXXPropertiesViewDataDelegate::groupNodes() const
{
    return {{QStringLiteral("children"), m_groupMembers}};
}

QVariantList XXXPropertiesViewDataDelegate::childrenOf(const QVariant &item) const
{
    if (!item.isValid())
        return m_groupMembers;
    return Bastwick::valueForKey(item, QStringLiteral("children")).toList();
}

qint64 XXXPropertiesViewDataDelegate::numberOfChildrenOfItem(XXXPropertiesView *view, const QVariant &item)
{
    Q_UNUSED(view);
    const qint64 count = childrenOf(item).size();
    XXXLog(QStringLiteral("[children count]=%1").arg(count));
    return count;
}

QVariant XXXPropertiesViewDataDelegate::childOfItem(XXXPropertiesView *view, qint64 index,
                                                    const QVariant &item)
{
    Q_UNUSED(view);
    const QVariantList children = childrenOf(item);
    return index >= 0 && index < children.size() ? children.at(index) : QVariant();
}

QVariant XXXPropertiesViewDataDelegate::objectValueForItem(XXXPropertiesView *view, const QVariant &item)
{
    Q_UNUSED(view);
    return Bastwick::valueForKey(item, QStringLiteral("title"));
}
