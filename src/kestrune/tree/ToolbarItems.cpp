#include <kestrune/tree/ToolbarItems.h>

#include <pavisade/viewcontrollers/Localization.h>

#include <QtWidgets/QAbstractButton>

namespace Kestrune {

QList<XXXButtonToolBarItem> addRemoveReloadItems(const QString &addTooltip, const QString &removeTooltip,
                                                 const QString &labelIdentifier)
{
    auto button = [](qint64 tag, const QString &image, const QString &tooltip) {
        XXXButtonToolBarItem item;
        item.toolBarItemType = XXXButtonToolBarItem::TypeImageButton;
        item.tag = tag;
        item.image = image;
        item.tooltips = Pavisade::localizedString(tooltip);
        return item;
    };
    XXXButtonToolBarItem label;
    label.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
    label.identifier = labelIdentifier;
    label.title = QString();
    label.width = 0;
    label.alignment = 2;
    return {button(1, QStringLiteral("toolbar-add-w"), addTooltip),
            button(2, QStringLiteral("toolbar-remove-w"), removeTooltip), label,
            button(8, QStringLiteral("toolbar-refresh-w"), QStringLiteral("ReloadData"))};
}

void runAddRemoveReloadAction(const QAbstractButton *sender, const std::function<void()> &add,
                              const std::function<void()> &remove, const std::function<void()> &reload)
{
    switch (sender ? sender->property("tag").toLongLong() : 0) {
    case 1:
        add();
        break;
    case 2:
        remove();
        break;
    case 8:
        reload();
        break;
    default:
        break;
    }
}

} // namespace Kestrune
