#pragma once

#include <pavisade/viewcontrollers/X3TabViewController.h>

#include <QtCore/QPointer>

#include <memory>

class DerazKeysBrowseViewController;
class DerazKeysQueryViewController;
class SimpleDBViewState;

// The right-hand side of the main window: four tabs, "Browse" (the key browser), "Query"
// (the key query), "Console" and "Command" (the command console and the command help,
// made by class name). Every tab change is announced to the shared view state with the
// tab's index. Main thread.
class DerazProbeViewController : public X3TabViewController
{
    Q_OBJECT

public:
    // The class names of the console and help screens.
    static const QString kConsoleClassName;
    static const QString kCmdHelpClassName;

    Q_INVOKABLE explicit DerazProbeViewController(QWidget *parent = nullptr);
    ~DerazProbeViewController() override;

    // The four screens, made on first use with this screen's parent window.
    DerazKeysBrowseViewController *derazKeysBrowseViewController();
    DerazKeysQueryViewController *derazKeysQueryViewController();
    X3CommonViewController *derazConsoleViewController();
    X3CommonViewController *derazCmdHelpViewController();
    std::shared_ptr<SimpleDBViewState> stateDelegate() const;

    XXXTabItemDefineList tabColumnsDef() const override;
    void tabViewControllersConfig() override;
    void viewStyleConfig() override;
    void tabViewDidSelectTabViewItem(QTabWidget *tabView, int index) override;

protected:
    void awakeFromNib() override;

private:
    // A screen of a registered class, or an empty one (with a log line) when the class
    // is not there.
    X3CommonViewController *screenWithClassName(const QString &className);

    QPointer<DerazKeysBrowseViewController> m_browse;
    QPointer<DerazKeysQueryViewController> m_query;
    QPointer<X3CommonViewController> m_console;
    QPointer<X3CommonViewController> m_cmdHelp;
};
