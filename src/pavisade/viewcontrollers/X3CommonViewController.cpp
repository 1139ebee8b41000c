#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/InvokeByName_p.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/WindowResizeFanOut_p.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/ViewGeometry.h>
#include <bastwick/platform/Log.h>

#include <QtWidgets/QAbstractButton>

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
