#pragma once

#include <pavisade/viewcontrollers/XXXWindowCommonController.h>

#include <QtCore/QPointer>

#include <memory>

class DBProfile;
class DerazKeysViewDataDelegate;
class QLineEdit;
class XXXSpinningProgressIndicator;

// The quick-connect window: host, user name, password and port of a server, connected
// without saving a profile. The values typed last stay for the next showing. The
// window closes when any connection has been made ("DBConnectServerStatusMsg"); after a
// failure it stays open for another try, its spinner stopped. Main thread.
class DerazConnnectionWindowController : public XXXWindowCommonController
{
    Q_OBJECT

public:
    explicit DerazConnnectionWindowController(QObject *parent = nullptr);
    ~DerazConnnectionWindowController() override;

    DerazKeysViewDataDelegate *dbTreeViewDataDelegate() const { return m_dataDelegate; }
    // The window connects through the delegate and stops its spinner when its own
    // connect fails.
    void setDbTreeViewDataDelegate(DerazKeysViewDataDelegate *delegate);

    // The profile being edited (127.0.0.1 / "admin" / "" / 6379 at first).
    std::shared_ptr<DBProfile> profile();

    QLineEdit *hostTextFld() const { return m_host; }
    QLineEdit *userTextFld() const { return m_user; }
    QLineEdit *passwordTextFld() const { return m_password; }
    QLineEdit *portTextFld() const { return m_port; }
    XXXSpinningProgressIndicator *loadingIndicator() const { return m_indicator; }

    // The Connect and Cancel buttons.
    void connectionAction();
    void cancelAction();
    void connect();
    // Reads the port field into the profile (text that is no number gives 0) and
    // recomputes the profile URL.
    std::shared_ptr<DBProfile> formatProfile();

    void displayActivityView();
    void hideActivityView();

    // The host field.
    QWidget *initialFirstResponder() const override;

protected:
    QWidget *loadWindow() override;
    void windowDidLoad() override;

private:
    QPointer<DerazKeysViewDataDelegate> m_dataDelegate;
    QMetaObject::Connection m_finishedConnection;
    std::shared_ptr<DBProfile> m_profile;
    QLineEdit *m_host = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_port = nullptr;
    XXXSpinningProgressIndicator *m_indicator = nullptr;
};
