// A window built from the framework's pieces, for looking at: a window toolbar, a split
// screen with a button toolbar on the left and a tab screen on the right, and a
// confirmation sheet. Run it under a display (Xvfb); with an output folder it writes
// harness-main.png and harness-sheet.png there and quits.

#include <pavisade/PavisadeClasses.h>
#include <pavisade/forms/FormControls.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/sheets/XSheet.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/X3SplitViewController.h>
#include <pavisade/viewcontrollers/X3TabViewController.h>
#include <pavisade/viewcontrollers/XXXAppDelegate.h>
#include <pavisade/viewcontrollers/XXXDragViewController.h>

#include <corbelan/CorbelanClasses.h>

#include <QtCore/QDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QVBoxLayout>

namespace {

XXXButtonToolBarItem imageButton(qint64 tag, const QString &image, const QString &tip)
{
    XXXButtonToolBarItem item;
    item.toolBarItemType = XXXButtonToolBarItem::TypeImageButton;
    item.tag = tag;
    item.image = image;
    item.tooltips = tip;
    return item;
}

// A list with a button toolbar along its bottom edge.
class ListScreen : public X3CommonViewController
{
public:
    QListWidget *list = nullptr;
    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override
    {
        XXXButtonToolBarItem pages;
        pages.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
        pages.identifier = "pages";
        pages.title = "1/3";
        pages.alignment = 2;
        return {imageButton(1, "AddTemplate", "Add"), imageButton(2, "RemoveTemplate", "Remove"), pages,
                imageButton(8, "RefreshTemplate", "Reload")};
    }

protected:
    void loadInterface() override
    {
        list = new QListWidget(this);
        for (int i = 0; i < 16; ++i)
            list->addItem(QStringLiteral("profile %1").arg(i));
    }
    void awakeFromNib() override
    {
        X3CommonViewController::awakeFromNib();
        setUpToolBarConfig();
    }
    void resizeEvent(QResizeEvent *event) override
    {
        X3CommonViewController::resizeEvent(event);
        list->setGeometry(0, 0, width(), height() - int(toolbarParentViewDefaultHeight()));
        layoutToolBar();
    }
};

// A page with a caption and a spinner.
class ActivityScreen : public X3CommonViewController
{
public:
    explicit ActivityScreen(const QString &caption, bool determinate)
        : m_caption(caption)
        , m_determinate(determinate)
    {
    }

protected:
    void loadInterface() override
    {
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(m_caption, this);
        layout->addWidget(label);
        auto *spinner = new XXXSpinningProgressIndicator(this);
        spinner->setFixedSize(64, 64);
        layout->addWidget(spinner, 0, Qt::AlignCenter);
        layout->addStretch(1);
        if (m_determinate) {
            spinner->setDoubleValue(62);
        } else {
            spinner->startAnimation();
            for (int i = 0; i < 5; ++i)
                spinner->updateFrame();
        }
    }

private:
    QString m_caption;
    bool m_determinate;
};

class DropScreen : public X3CommonViewController
{
public:
    QWidget *dragParentView() override { return this; }
    QString dragZoneTitle() const override { return QStringLiteral("Drop a file to import"); }
    QString dragNotification() const override { return QStringLiteral("DBImportDataNotify"); }
};

class Probe : public X3TabViewController
{
public:
    XXXTabItemDefineList tabColumnsDef() const override
    {
        XXXTabItemDefineList tabs;
        for (const char *title : {"Browse", "Query", "Import"}) {
            auto item = std::make_shared<XXXTabItemDefine>();
            item->setTitle(QString::fromLatin1(title));
            item->setIdentifier(QString::fromLatin1(title).toLower());
            tabs.append(item);
        }
        return tabs;
    }
    void tabViewControllersConfig() override
    {
        setControllers({new ActivityScreen("Loading keys…", false), new ActivityScreen("62 % read", true),
                        m_drop = new DropScreen});
    }
    DropScreen *m_drop = nullptr;
};

class Root : public X3SplitViewController
{
public:
    float splitPositon() const override { return 220.0f; }
    void splitViewControllersConfig() override { setControllers({new ListScreen, m_probe = new Probe}); }
    Probe *m_probe = nullptr;
};

class HarnessDelegate : public XXXAppDelegate
{
    Q_OBJECT
public:
    QMainWindow window;
    QToolBar *bar = new QToolBar;
    Root *root = nullptr;
    QMainWindow *mainWindow() override { return &window; }
    X3CommonViewController *startViewController() override { return root = new Root; }
    QToolBar *mainToolBar() override
    {
        bar->setMovable(false);
        for (const char *name : {"Connect", "Disconnect", "Preferences"})
            bar->addAction(QString::fromLatin1(name))->setObjectName(QString::fromLatin1(name).toLower());
        return bar;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrune"));
    Corbelan::registerCorbelanClasses();
    Pavisade::registerPavisadeClasses();

    HarnessDelegate delegate;
    delegate.awakeFromNib();
    delegate.window.resize(900, 560);
    delegate.window.show();
    delegate.root->m_probe->m_drop->showDragView();

    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (out.isEmpty())
        return app.exec();

    QTimer::singleShot(600, [&] {
        delegate.window.grab().save(QDir(out).filePath(QStringLiteral("harness-main.png")));
        delegate.root->m_probe->tabView()->setCurrentIndex(2);
        auto *sheet = new ConfirmAlertSheet;
        sheet->titleTextFld()->setText(QStringLiteral("Remove profile"));
        sheet->contentTextFld()->setText(QStringLiteral("Remove the profile \"local\" and its settings?"));
        sheet->beginOnWindow(&delegate.window, {});
        QTimer::singleShot(600, [&] {
            QScreen *screen = QGuiApplication::primaryScreen();
            screen->grabWindow(0).save(QDir(out).filePath(QStringLiteral("harness-sheet.png")));
            QApplication::quit();
        });
    });
    return app.exec();
}

#include "HarnessMain.moc"
