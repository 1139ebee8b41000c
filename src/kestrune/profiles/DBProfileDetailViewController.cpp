#include <kestrune/profiles/DBProfileDetailViewController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/IntValue.h>
#include <kestrune/Localized.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/profiles/DBProfileState.h>
#include <kestrune/profiles/DBProfileStateManager.h>
#include <kestrune/profiles/ProfileWrites.h>

#include <pavisade/forms/XXXSpinningProgressIndicator.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

using Kestrune::L;

DBProfileDetailViewController::DBProfileDetailViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
}

DBProfileDetailViewController::~DBProfileDetailViewController()
{
    if (m_joinedState)
        DBProfileStateManager::sharedInstance().state()->removeDelegate(this);
}

std::shared_ptr<DBProfile> DBProfileDetailViewController::currentProfile()
{
    if (!m_currentProfile) {
        m_currentProfile = std::make_shared<DBProfile>();
        m_currentProfile->setHost(QStringLiteral("127.0.0.1"));
        m_currentProfile->setUsername(QStringLiteral("root"));
        m_currentProfile->setPassword(QStringLiteral(""));
        m_currentProfile->setPort(6379);
        m_currentProfile->setScheme(kDerazURLScheme);
    }
    return m_currentProfile;
}

QStringList DBProfileDetailViewController::schemes()
{
    return {kDerazURLScheme, kMySQLURLScheme, kPostgreSQLURLScheme};
}

QString DBProfileDetailViewController::selectedScheme() const
{
    const int index = m_scheme ? m_scheme->currentIndex() : -1;
    return schemes().value(index < 0 ? 0 : index);
}

qint64 DBProfileDetailViewController::defaultPort(const QString &scheme)
{
    if (scheme == kMySQLURLScheme)
        return 3306;
    if (scheme == kPostgreSQLURLScheme)
        return 5432;
    if (scheme == kDerazURLScheme)
        return 6379;
    return 0;
}

bool DBProfileDetailViewController::isConnecting() const
{
    return !const_cast<DBProfileDetailViewController *>(this)->progressIndicator()->isHidden();
}

void DBProfileDetailViewController::loadInterface()
{
    m_scheme = new QComboBox(this);
    m_scheme->setObjectName(QStringLiteral("dbTypePopUpBtn"));
    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("hostTextFld"));
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("userTextFld"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordTextFld"));
    m_password->setEchoMode(QLineEdit::Password);
    m_port = new QLineEdit(this);
    m_port->setObjectName(QStringLiteral("portTextFld"));
    m_autoLogin = new QCheckBox(L(QStringLiteral("Connect at start")), this);
    m_autoLogin->setObjectName(QStringLiteral("autoLoginBtn"));
    m_connect = new QPushButton(L(QStringLiteral("Connect")), this);
    m_connect->setObjectName(QStringLiteral("connectionBtn"));
    m_connect->setDefault(true);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(L(QStringLiteral("Type")), m_scheme);
    form->addRow(L(QStringLiteral("Host")), m_host);
    form->addRow(L(QStringLiteral("User")), m_user);
    form->addRow(L(QStringLiteral("Password")), m_password);
    form->addRow(L(QStringLiteral("Port")), m_port);
    form->addRow(QString(), m_autoLogin);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_connect);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 20);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_scheme, &QComboBox::activated, this, [this](int) { schemaSelectedAction(); });
    connect(m_connect, &QPushButton::clicked, this, [this] { connectionBtnClicked(); });
    connect(m_autoLogin, &QCheckBox::clicked, this, [this] { autoLoginBtnAction(); });
}

void DBProfileDetailViewController::awakeFromNib()
{
    X3CommonViewController::awakeFromNib();
    bindConfig();
    DBProfileStateManager::sharedInstance().state()->addDelegate<DBProfileStateDelegate>(
        this, Bastwick::mainQueue());
    m_joinedState = true;
    Bastwick::NotificationCenter::defaultCenter().addObserver(this, kDBConnectServerStatusMsg,
                                                              [this](const auto &) { hideActivityView(); });
    dbTypePopUpBtnConfig();
    hideActivityView();
}

void DBProfileDetailViewController::bindConfig()
{
    // The fields write through to whichever profile is shown at the time.
    connect(m_host, &QLineEdit::textEdited, this,
            [this](const QString &text) { currentProfile()->setHost(text); });
    connect(m_user, &QLineEdit::textEdited, this,
            [this](const QString &text) { currentProfile()->setUsername(text); });
    connect(m_password, &QLineEdit::textEdited, this,
            [this](const QString &text) { currentProfile()->setPassword(text); });
    const auto profile = currentProfile();
    m_host->setText(profile->host());
    m_user->setText(profile->username());
    m_password->setText(profile->password());
    m_port->setText(QString::number(profile->port()));
}

void DBProfileDetailViewController::dbTypePopUpBtnConfig()
{
    m_scheme->clear();
    m_scheme->addItems(schemes());
}

void DBProfileDetailViewController::schemaSelectedAction()
{
    const auto profile = currentProfile();
    const QString scheme = selectedScheme();
    profile->setScheme(scheme);
    if (profile->name() == kMySQLURLScheme)
        profile->setName(scheme);
    // The profile's port follows at connect, from the field.
    m_port->setText(QString::number(defaultPort(scheme)));
}

void DBProfileDetailViewController::profileSelectedChanged(DBProfileState *,
                                                           const std::shared_ptr<DBProfile> &profile)
{
    if (!profile)
        return;
    // The bound fields follow the new profile at once.
    m_currentProfile = profile;
    m_host->setText(profile->host());
    m_user->setText(profile->username());
    m_password->setText(profile->password());
    const qsizetype schemeIndex = schemes().indexOf(profile->scheme());
    if (!profile->scheme().isEmpty() && schemeIndex >= 0)
        m_scheme->setCurrentIndex(int(schemeIndex));
    if (profile->host().isEmpty())
        profile->setHost(QStringLiteral("127.0.0.1"));
    m_host->setText(profile->host());
    if (profile->port() < 1) {
        const qint64 port = defaultPort(profile->scheme());
        if (port > 0)
            profile->setPort(port);
    }
    if (profile->port() > 0)
        m_port->setText(QString::number(profile->port()));
    m_autoLogin->setChecked(profile->autoLogin());
}

void DBProfileDetailViewController::connectionBtnClicked()
{
    const auto profile = currentProfile();
    profile->setPort(Kestrune::intValue(m_port->text()));
    profile->setScheme(selectedScheme());
    if (profile->name().isEmpty())
        profile->setName(profile->scheme());
    profile->setAutoLogin(m_autoLogin->isChecked());
    const bool saved = Kestrune::saveProfileOrWarn(profile, window());
    Bastwick::NotificationCenter::defaultCenter().post(kDBProfileListAddMsg);
    profile->urlFormat();
    if (profile->scheme() != kDerazURLScheme) {
        if (!saved)
            return; // the warning said why it is not saved; there is nothing to connect

        // Only Deraz servers can be connected; say so instead of spinning for ever.
        Kestrune::showWarning(window(),
                              L(QStringLiteral("ProfileSchemeNotSupported")).arg(profile->scheme()));
        return;
    }
    displayActivityView();
    m_requestedProfile = profile;
    Bastwick::NotificationCenter::defaultCenter().post(kDBProfileRequestConnectMsg,
                                                       QVariant::fromValue(profile));
}

void DBProfileDetailViewController::connectionFinished(bool succeeded,
                                                       const std::shared_ptr<DBProfile> &profile)
{
    if (!succeeded && profile && profile == m_requestedProfile.lock())
        hideActivityView();
}

void DBProfileDetailViewController::autoLoginBtnAction()
{
    const auto profile = currentProfile();
    profile->setAutoLogin(m_autoLogin->isChecked());
    Kestrune::saveProfileOrWarn(profile, window());
}
