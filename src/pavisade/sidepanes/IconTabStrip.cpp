#include <pavisade/sidepanes/IconTabStrip_p.h>

#include <pavisade/sidepanes/TemplateImage.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/X3TabViewController.h>

#include <bastwick/ViewGeometry.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <corbelan/services/NamedImage.h>

#include <QtWidgets/QTabBar>

#include <cmath>

namespace Pavisade {

XTTabBar *IconTabStrip::bar(X3TabViewController *screen)
{
    if (!m_bar) {
        m_bar = new XTTabBar(screen);
        m_bar->setGeometry(0, 0, 480, 22);
        // Across the top band: follows the screen's width, keeps its top edge.
        Bastwick::setAutoresizingMask(m_bar, Bastwick::ViewWidthSizable | Bastwick::ViewMaxYMargin);
        m_bar->setDelegate(screen);
    }
    return m_bar;
}

void IconTabStrip::loadView(X3TabViewController *screen)
{
    QTabWidget *tabs = screen->tabView();
    tabs->tabBar()->hide();
    tabs->setDocumentMode(true);
    XTTabBar *strip = bar(screen);
    strip->show();
    strip->raise();
}

void IconTabStrip::fill(X3TabViewController *screen)
{
    XTTabBar *strip = bar(screen);
    const QColor tint = strip->palette().color(QPalette::ButtonText);
    XTTabBarItemList items;
    for (const auto &definition : screen->tabColumnsDef()) {
        const QString imageName = definition ? definition->imageName() : QString();
        const QImage image = tintedTemplateImage(Corbelan::namedImage(imageName, QSize(18, 18)), tint);
        auto item =
            std::make_shared<XTTabBarItem>(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)), 0);
        item->setToolTip(localizedString(definition ? definition->toolTip() : QString()));
        if (items.isEmpty()) {
            item->setKeyEquivalent(QStringLiteral("1"));
            item->setKeyEquivalentModifierMask(int(Qt::ControlModifier));
        }
        items.append(item);
    }
    strip->setItems(items);
}

void IconTabStrip::place(X3TabViewController *screen)
{
    XTTabBar *strip = bar(screen);
    strip->setGeometry(0, 0, screen->width(), int(std::lround(screen->tabViewTopPadding())));
    strip->raise();
}

void IconTabStrip::logFrames(X3TabViewController *screen)
{
    XXXLog(QStringLiteral("self.inspectorTabBar.frame=%1")
               .arg(Bastwick::describe(QVariant(bar(screen)->geometry()))));
    XXXLog(QStringLiteral("self.tabView.frame=%1")
               .arg(Bastwick::describe(QVariant(screen->tabView()->geometry()))));
}

void IconTabStrip::selectTabForItem(X3TabViewController *screen, XTTabBarItem *item)
{
    XTTabBar *strip = bar(screen);
    const XTTabBarItemList items = strip->items();
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).get() == item) {
            screen->tabView()->setCurrentIndex(i);
            return;
        }
    }
}

} // namespace Pavisade
