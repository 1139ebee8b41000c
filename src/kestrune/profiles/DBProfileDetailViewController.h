#pragma once

#include <kestrune/profiles/DBProfileStateDelegate.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <memory>

class DBProfile;
class DBProfileState;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The right pane of the profile manager: the form of one profile (scheme, host, user
// name, password, port, automatic connection). Connect saves the profile and asks the
// key tree to connect with it; the spinner runs until a connection completes, or until
// the connect it asked for fails (the key tree shows why). The
// host, user and password fields write through to the profile on every keystroke; the
// port is read when connecting. Main thread.
class DBProfileDetailViewController : public X3CommonViewController, public DBProfileStateDelegate
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DBProfileDetailViewController(QWidget *parent = nullptr);
    ~DBProfileDetailViewController() override;

    // The profile shown; a new one (127.0.0.1, "root", no password, 6379, "deraz") until
    // the list selects one.
    std::shared_ptr<DBProfile> currentProfile();
    static QStringList schemes();
    // The scheme picked in the pop-up (the first when none is).
    QString selectedScheme() const;
    // The default port of a scheme; 0 for an unknown one.
    static qint64 defaultPort(const QString &scheme);

    QComboBox *dbTypePopUpBtn() const { return m_scheme; }
    QLineEdit *hostTextFld() const { return m_host; }
    QLineEdit *userTextFld() const { return m_user; }
    QLineEdit *passwordTextFld() const { return m_password; }
    QLineEdit *portTextFld() const { return m_port; }
    QCheckBox *autoLoginBtn() const { return m_autoLogin; }
    QPushButton *connectionBtn() const { return m_connect; }
    bool isConnecting() const;

    void schemaSelectedAction();
    void connectionBtnClicked();
    void autoLoginBtnAction();
    // The key tree finished a connect: a failure of the one this form asked for stops the
    // spinner.
    void connectionFinished(bool succeeded, const std::shared_ptr<DBProfile> &profile);

    // DBProfileStateDelegate
    void profileSelectedChanged(DBProfileState *state, const std::shared_ptr<DBProfile> &profile) override;

protected:
    void loadInterface() override;
    void awakeFromNib() override;

private:
    void bindConfig();
    void dbTypePopUpBtnConfig();

    std::shared_ptr<DBProfile> m_currentProfile;
    std::weak_ptr<DBProfile> m_requestedProfile;
    QComboBox *m_scheme = nullptr;
    QLineEdit *m_host = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_port = nullptr;
    QCheckBox *m_autoLogin = nullptr;
    QPushButton *m_connect = nullptr;
    bool m_joinedState = false;
};
