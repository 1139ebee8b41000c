#include <pavisade/sidepanes/XTTabBarItem.h>

XTTabBarItem::XTTabBarItem(const QIcon &image, qint64 tag)
    : m_image(image)
    , m_tag(tag)
{
}

void XTTabBarItem::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged();
}

void XTTabBarItem::setImage(const QIcon &image)
{
    m_image = image;
    emit imageChanged();
}

void XTTabBarItem::setToolTip(const QString &toolTip)
{
    if (m_toolTip == toolTip)
        return;
    m_toolTip = toolTip;
    emit toolTipChanged();
}

void XTTabBarItem::setKeyEquivalent(const QString &key)
{
    if (m_keyEquivalent == key)
        return;
    m_keyEquivalent = key;
    emit keyEquivalentChanged();
}

void XTTabBarItem::setKeyEquivalentModifierMask(int mask)
{
    if (m_keyEquivalentModifierMask == mask)
        return;
    m_keyEquivalentModifierMask = mask;
    emit keyEquivalentChanged();
}

QString XTTabBarItem::description() const
{
    return QStringLiteral("XTTabBarItem{tag=%1}").arg(m_tag);
}
