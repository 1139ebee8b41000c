#pragma once

#include <pavisade/viewcontrollers/XXXWindowCommonController.h>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class XXXOpenFileManager;

// The preferences window: page size, number of sample keys, export folder and the two
// connection flags, each stored in the user defaults as soon as it changes. The two
// numbers are typed or stepped and never go below 1. Made once and shown again on
// every request, with the values as last edited. Main thread.
class PreferenceWindowController : public XXXWindowCommonController
{
    Q_OBJECT

public:
    explicit PreferenceWindowController(QObject *parent = nullptr);
    ~PreferenceWindowController() override;

    // The number fields with their steppers.
    QSpinBox *pageSizeStepper() const { return m_pageSize; }
    QSpinBox *magicNumSizeStepper() const { return m_magic; }
    QLineEdit *exportPathFld() const { return m_exportPath; }
    QCheckBox *remberPassCheckBtn() const { return m_rememberPassword; }
    QCheckBox *autoLoginCheckBtn() const { return m_autoLogin; }
    // The chooser of the export folder (directories only, one at a time).
    XXXOpenFileManager &openFileManager();

    void doPageSizeStepper(int value);
    void doMagicNumbersSizeStepper(int value);
    void remberPassCheckBtnAction();
    void autoLoginCheckBtnAction();
    void exportPathBrowseAction();

protected:
    QWidget *loadWindow() override;
    void windowDidLoad() override;

private:
    void awakeFromNib();

    QSpinBox *m_pageSize = nullptr;
    QSpinBox *m_magic = nullptr;
    QLineEdit *m_exportPath = nullptr;
    QPushButton *m_browse = nullptr;
    QCheckBox *m_rememberPassword = nullptr;
    QCheckBox *m_autoLogin = nullptr;
    std::unique_ptr<XXXOpenFileManager> m_openFileManager;
};
