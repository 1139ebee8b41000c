#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/InvokeByName_p.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/WindowResizeFanOut_p.h>
#include <pavisade/viewcontrollers/XXXDragViewController.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/ViewGeometry.h>
#include <bastwick/platform/Log.h>

#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QProgressBar>

X3CommonViewController::X3CommonViewController(QWidget *parent)
    : QWidget(parent)
{
}

X3CommonViewController::~X3CommonViewController()
{
    Pavisade::WindowResizeFanOut::instance().remove(this);
}

QWidget *X3CommonViewController::view()
{
    setUp();
    return this;
}

void X3CommonViewController::setUp()
{
    if (m_viewLoaded || m_settingUp)
        return;
    m_settingUp = true;
    loadInterface();
    awakeFromNib();
    loadView();
    m_settingUp = false;
    m_viewLoaded = true;
}

void X3CommonViewController::useClassNib()
{
    m_nibName = QString::fromLatin1(metaObject()->className());
}

void X3CommonViewController::awakeFromNib()
{
    registerWindowDidResizeNotification();
    i18Location();
}

void X3CommonViewController::registerWindowDidResizeNotification()
{
    Pavisade::WindowResizeFanOut::instance().add(this);
}

void X3CommonViewController::i18Location()
{
    toolBarGLocation();
    buttonGLocation();
    lableGLocation();
    menuGLocation();
}

void X3CommonViewController::buttonGLocation()
{
    Pavisade::buttonGLocation(this);
}

QList<XXXButtonToolBarItem> X3CommonViewController::toolbarItemsConfig() const
{
    return XXXButtonToolBar::itemConfig();
}

XXXButtonToolBar *X3CommonViewController::toolBarView()
{
    if (!m_toolBarView) {
        m_toolBarView = new XXXButtonToolBar(this);
        const double barHeight = XXXButtonToolBar::defaultButtonSize().height();
        m_toolBarView->setGeometry(0, int(height() - barHeight), width(), int(barHeight));
        // Along the bottom edge: the top margin takes up height changes, the width follows.
        Bastwick::setAutoresizingMask(m_toolBarView, Bastwick::ViewWidthSizable | Bastwick::ViewMinYMargin);
        connect(m_toolBarView, &XXXButtonToolBar::buttonClicked, this,
                &X3CommonViewController::toolButtonClicked);
        m_toolBarView->show();
    }
    return m_toolBarView;
}

void X3CommonViewController::setUpToolBarConfig()
{
    toolBarView()->configToolbarWithItems(toolbarItemsConfig());
    layoutToolBar();
}

void X3CommonViewController::setUpDefaultToolBarConfig()
{
    toolBarView()->setUpDefaultToolbarConfig();
    layoutToolBar();
}

void X3CommonViewController::layoutToolBar()
{
    if (!hasToolBar())
        return;
    const int barHeight = XXXButtonToolBar::defaultButtonSize().height();
    m_toolBarView->setGeometry(0, height() - barHeight, width(), barHeight);
    m_toolBarView->layoutToolBarItem();
}

float X3CommonViewController::toolbarParentViewDefaultHeight()
{
    if (m_toolbarParentViewHeight <= 0)
        m_toolbarParentViewHeight = float(XXXButtonToolBar::defaultButtonSize().height());
    return m_toolbarParentViewHeight;
}

void X3CommonViewController::buttonActionConfig()
{
    const QStringList identifiers = buttonIditifers();
    for (const QString &identifier : identifiers) {
        auto *button = qobject_cast<QAbstractButton *>(Bastwick::viewWithIdentifier(this, identifier));
        if (!button)
            continue;
        connect(button, &QAbstractButton::clicked, this, [this, button] { buttonClicked(button); });
    }
}

void X3CommonViewController::buttonClicked(QAbstractButton *sender)
{
    const QString identifier = sender ? sender->objectName() : QString();
    XXXLog(QStringLiteral("buttonClicked identifier=%1").arg(identifier));
    Pavisade::invokeByName(this, Bastwick::firstCharLower(identifier) + QStringLiteral("Action"), sender);
}

namespace {

void showAlert(QWidget *window, const char *titleKey, const QString &text)
{
    Pavisade::showSheetModalForWindow(window, Pavisade::localizedString(QLatin1String(titleKey)),
                                      Pavisade::localizedString(text), Pavisade::AlertStyleWarning,
                                      Pavisade::localizedString(QStringLiteral("OkStr")));
}

// Keeps a child centred in its parent through every resize.
void keepCentred(QWidget *child)
{
    Bastwick::centerInParent(child);
    Bastwick::setAutoresizingMask(child, Bastwick::ViewMinXMargin | Bastwick::ViewMaxXMargin |
                                             Bastwick::ViewMinYMargin | Bastwick::ViewMaxYMargin);
}

} // namespace

void X3CommonViewController::showWarningInfo(const QString &text)
{
    showAlert(m_parentWindow, "WarningStr", text);
}

void X3CommonViewController::showErrorInfo(const QString &text)
{
    showAlert(m_parentWindow, "ErrorStr", text);
}

void X3CommonViewController::showInfoInfo(const QString &text)
{
    showAlert(m_parentWindow, "InfoStr", text);
}

XXXSpinningProgressIndicator *X3CommonViewController::progressIndicator()
{
    if (!m_progressIndicator) {
        m_progressIndicator = new XXXSpinningProgressIndicator(this);
        m_progressIndicator->resize(40, 40);
        keepCentred(m_progressIndicator);
        m_progressIndicator->setIndeterminate(true);
        m_progressIndicator->setMaxValue(100);
        m_progressIndicator->hide();
    }
    return m_progressIndicator;
}

void X3CommonViewController::displayActivityView()
{
    XXXSpinningProgressIndicator *indicator = progressIndicator();
    indicator->show();
    indicator->raise();
    indicator->startAnimation();
}

void X3CommonViewController::hideActivityView()
{
    XXXSpinningProgressIndicator *indicator = progressIndicator();
    indicator->hide();
    indicator->stopAnimation();
}

QProgressBar *X3CommonViewController::progressBarIndicator()
{
    if (!m_progressBarIndicator) {
        // Not placed until barStyleActivityViewConfig(); held by the screen meanwhile.
        m_progressBarIndicator = new QProgressBar(this);
        m_progressBarIndicator->setGeometry(0, 0, 120, 40);
        m_progressBarIndicator->setRange(0, 0); // indeterminate
        m_progressBarIndicator->setTextVisible(false);
        m_progressBarIndicator->hide();
    }
    return m_progressBarIndicator;
}

void X3CommonViewController::barStyleActivityViewConfig()
{
    QProgressBar *bar = progressBarIndicator();
    bar->resize(120, 40);
    keepCentred(bar);
}

void X3CommonViewController::displayBarStyleActivityView()
{
    QProgressBar *bar = progressBarIndicator();
    bar->show();
    bar->raise();
}

void X3CommonViewController::hideBarStyleActivityView()
{
    progressBarIndicator()->hide();
}

XXXDragViewController *X3CommonViewController::dragViewController()
{
    if (!m_dragViewController) {
        m_dragViewController = new XXXDragViewController(this);
        m_dragViewController->hide();
    }
    return m_dragViewController;
}

void X3CommonViewController::showDragView()
{
    XXXDragViewController *drop = dragViewController();
    drop->setDragTitle(dragZoneTitle());
    drop->registerNotify(dragNotification());
    QWidget *parent = dragParentView();
    if (!parent)
        return;
    QWidget *view = drop->view();
    view->setParent(parent);
    keepCentred(view);
    view->show();
}

void X3CommonViewController::hideDragView()
{
    if (!m_dragViewController)
        return;
    m_dragViewController->hide();
    if (m_dragViewController->parentWidget() != this)
        m_dragViewController->setParent(this);
}
