#include <kestrune/tree/DerazConnnectionWindowController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/IntValue.h>
#include <kestrune/Localized.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>

#include <pavisade/forms/XXXSpinningProgressIndicator.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtWidgets/QDialog>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

using Kestrune::L;

DerazConnnectionWindowController::DerazConnnectionWindowController(QObject *parent)
    : XXXWindowCommonController(parent)
{
}

DerazConnnectionWindowController::~DerazConnnectionWindowController() = default;

void DerazConnnectionWindowController::setDbTreeViewDataDelegate(DerazKeysViewDataDelegate *delegate)
{
    if (m_dataDelegate == delegate)
        return;
    QObject::disconnect(m_finishedConnection);
    m_dataDelegate = delegate;
    if (!delegate)
        return;
    m_finishedConnection =
        QObject::connect(delegate, &DerazKeysViewDataDelegate::connectFinished, this,
                         [this](bool succeeded, const std::shared_ptr<DBProfile> &connected) {
                             if (!succeeded && connected && connected == m_profile)
                                 hideActivityView();
                         });
}

std::shared_ptr<DBProfile> DerazConnnectionWindowController::profile()
{
    if (!m_profile) {
        m_profile = std::make_shared<DBProfile>();
        m_profile->setHost(QStringLiteral("127.0.0.1"));
        m_profile->setUsername(QStringLiteral("admin"));
        m_profile->setPort(6379);
        m_profile->setScheme(kDerazURLScheme);
    }
    return m_profile;
}

QWidget *DerazConnnectionWindowController::loadWindow()
{
    auto *window = new QDialog;
    window->setWindowTitle(L(QStringLiteral("New Connection")));
    window->setObjectName(QStringLiteral("DerazConnnectionWindow"));
    auto *form = new QFormLayout;
    m_host = new QLineEdit(window);
    m_user = new QLineEdit(window);
    m_password = new QLineEdit(window);
    m_password->setEchoMode(QLineEdit::Password);
    m_port = new QLineEdit(window);
    form->addRow(L(QStringLiteral("Host")), m_host);
    form->addRow(L(QStringLiteral("User")), m_user);
    form->addRow(L(QStringLiteral("Password")), m_password);
    form->addRow(L(QStringLiteral("Port")), m_port);

    m_indicator = new XXXSpinningProgressIndicator(window);
    m_indicator->setFixedSize(20, 20);
    auto *cancel = new QPushButton(L(QStringLiteral("Cancel")), window);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto *connectButton = new QPushButton(L(QStringLiteral("Connect")), window);
    connectButton->setObjectName(QStringLiteral("connectButton"));
    connectButton->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { cancelAction(); });
    QObject::connect(connectButton, &QPushButton::clicked, this, [this] { connectionAction(); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_indicator);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(connectButton);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    window->resize(360, window->sizeHint().height());
    return window;
}

void DerazConnnectionWindowController::windowDidLoad()
{
    XXXWindowCommonController::windowDidLoad();
    Bastwick::NotificationCenter::defaultCenter().addObserver(this, kDBConnectServerStatusMsg,
                                                              [this](const auto &) {
                                                                  if (isWindowLoaded())
                                                                      window()->close();
                                                                  hideActivityView();
                                                              });
    // The fields write through to the profile on every keystroke.
    const auto p = profile();
    m_host->setText(p->host());
    m_user->setText(p->username());
    m_password->setText(p->password());
    m_port->setText(QString::number(p->port()));
    QObject::connect(m_host, &QLineEdit::textEdited, this,
                     [this](const QString &t) { profile()->setHost(t); });
    QObject::connect(m_user, &QLineEdit::textEdited, this,
                     [this](const QString &t) { profile()->setUsername(t); });
    QObject::connect(m_password, &QLineEdit::textEdited, this,
                     [this](const QString &t) { profile()->setPassword(t); });
    XXXLog(QStringLiteral("host%1").arg(p->host()));
    hideActivityView();
}

QWidget *DerazConnnectionWindowController::initialFirstResponder() const
{
    return m_host;
}

void DerazConnnectionWindowController::connectionAction()
{
    displayActivityView();
    connect();
}

void DerazConnnectionWindowController::cancelAction()
{
    if (isWindowLoaded())
        window()->close();
}

std::shared_ptr<DBProfile> DerazConnnectionWindowController::formatProfile()
{
    const auto p = profile();
    p->setPort(m_port ? Kestrune::intValue(m_port->text()) : p->port());
    p->urlFormat();
    return p;
}

void DerazConnnectionWindowController::connect()
{
    const auto p = formatProfile();
    XXXLog(QStringLiteral("profile =%1").arg(p->description()));
    if (m_dataDelegate)
        m_dataDelegate->connectToDBStoreWithProfile(p);
}

void DerazConnnectionWindowController::displayActivityView()
{
    if (!m_indicator)
        return;
    m_indicator->show();
    m_indicator->startAnimation();
}

void DerazConnnectionWindowController::hideActivityView()
{
    if (!m_indicator)
        return;
    m_indicator->stopAnimation();
    m_indicator->hide();
}
