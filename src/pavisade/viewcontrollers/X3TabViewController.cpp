#include <pavisade/viewcontrollers/X3TabViewController.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QSignalBlocker>
#include <QtWidgets/QLayout>
#include <QtWidgets/QVBoxLayout>

#include <cmath>

namespace Pavisade {

void removeAllTabs(QTabWidget *tabView)
{
    if (!tabView)
        return;
    // Removing tabs moves the selection; nothing is selected by this walk.
    const QSignalBlocker blocker(tabView);
    QList<QWidget *> pages;
    for (int i = 0; i < tabView->count(); ++i)
        pages.append(tabView->widget(i));
    for (QWidget *page : pages) {
        tabView->removeTab(tabView->indexOf(page));
        // Screens placed in the page belong to their container screen: keep them.
        const auto placed =
            page->findChildren<X3CommonViewController *>(QString(), Qt::FindDirectChildrenOnly);
        for (X3CommonViewController *screen : placed) {
            screen->hide();
            screen->setParent(tabView);
        }
        delete page;
    }
}

void setTabColumnsDef(QTabWidget *tabView, const XXXTabItemDefineList &definitions)
{
    if (!tabView || definitions.isEmpty())
        return;
    if (tabView->count() > 0)
        removeAllTabs(tabView);
    for (const auto &definition : definitions) {
        auto *page = new QWidget;
        fillingLayout(page);
        page->setObjectName(definition ? definition->identifier() : QString());
        tabView->addTab(page, definition ? definition->title() : QString());
    }
}

int selectedTabViewItemIndex(const QTabWidget *tabView)
{
    return tabView ? tabView->currentIndex() : -1;
}

} // namespace Pavisade

X3TabViewController::X3TabViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
}

X3TabViewController::~X3TabViewController() = default;

QTabWidget *X3TabViewController::tabView()
{
    if (m_tabView)
        return m_tabView;
    QTabWidget *tabs = tabXibView();
    if (!tabs)
        tabs = new QTabWidget(this);
    m_tabView = tabs;
    connect(tabs, &QTabWidget::currentChanged, this,
            [this](int index) { tabViewDidSelectTabViewItem(m_tabView, index); });
    return tabs;
}

void X3TabViewController::setControllers(const QList<X3CommonViewController *> &controllers)
{
    m_controllers.set(this, controllers);
}

void X3TabViewController::setTabViewTopPadding(float padding)
{
    m_tabViewTopPadding = padding;
    viewSizeConfig();
}

void X3TabViewController::setTabViewLeftPadding(float padding)
{
    m_tabViewLeftPadding = padding;
    viewSizeConfig();
}

void X3TabViewController::placeTabView(int left, int top)
{
    QTabWidget *tabs = tabView();
    if (tabs->parentWidget() && tabs->parentWidget() != this)
        return; // placed by the screen's own interface
    QLayout *host = Pavisade::fillingLayout(this);
    if (!host)
        host = layout();
    if (host->indexOf(tabs) < 0)
        host->addWidget(tabs);
    if (left >= 0)
        host->setContentsMargins(left, top, 0, 0);
}

void X3TabViewController::tabViewSizeConfig()
{
    placeTabView(int(std::lround(m_tabViewLeftPadding)), int(std::lround(m_tabViewTopPadding)));
}

void X3TabViewController::tabViewConfig()
{
    const XXXTabItemDefineList definitions = tabColumnsDef();
    tabViewControllersConfig();
    Pavisade::setTabColumnsDef(tabView(), definitions);
    tabSubViewConfig();
}

void X3TabViewController::tabSubViewSizeConfig()
{
    QTabWidget *tabs = tabView();
    const QList<X3CommonViewController *> children = controllers();
    const int n = std::min<int>(children.size(), tabs->count());
    for (int i = 0; i < n; ++i) {
        if (children.at(i)->parentWidget() == tabs->widget(i))
            children.at(i)->viewSizeConfig();
    }
}

void X3TabViewController::viewSizeConfig()
{
    tabViewSizeConfig();
    tabSubViewSizeConfig();
}

void X3TabViewController::tabViewDidSelectTabViewItem(QTabWidget *tabs, int index)
{
    const QList<X3CommonViewController *> children = controllers();
    if (!tabs || index < 0 || index >= children.size() || index >= tabs->count())
        return;
    QWidget *page = tabs->widget(index);
    const bool occupied = !page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).isEmpty();
    if (occupied)
        return;
    X3CommonViewController *child = children.at(index);
    Pavisade::placeInto(page, child->view());
    XXXLog(QStringLiteral("tab index addSubview =%1").arg(index));
    child->viewSizeConfig();
}

void X3TabViewController::awakeFromNib()
{
    tabViewSizeConfig();
    tabViewConfig();
    tabSubViewSizeConfig();
}

void X3TabViewController::loadView()
{
    placeTabView(-1, 0);
}

X3TabViewXibController::X3TabViewXibController(QWidget *parent)
    : X3TabViewController(parent)
{
}
