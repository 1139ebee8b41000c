// Shoots the key browser's export inside the main window for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24' kestrune_export_shot <folder> <port> [<file>]
// with many keys already on the server at 127.0.0.1:<port> (a few hundred thousand, so the
// export runs long enough to be seen). Connects as the application does, selects DB0 and
// writes export-menu.png (the export button clicked, its menu open), export-progress.png
// (a JSON-lines export under way: the info text and the spinner in the toolbar) and
// export-done.png (the export finished). The file goes to <file>, or <folder>/keys.json;
// when it cannot be written (a file on a full disk), export-failed.png shows the error
// instead.
#include <kestrune/exchange/KeyBrowserExchange.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>

#include <corbelan/services/FilePanel.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

#include "../AppShots.h"

#include <QtCore/QDir>
#include <QtGui/QScreen>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QMenu>

#include <cstdio>

namespace {

// Answers every save panel with one path, as a user choosing it would.
class FixedSavePanel : public Corbelan::FilePanel
{
public:
    explicit FixedSavePanel(QString path)
        : m_path(std::move(path))
    {
    }
    std::optional<QStringList> runOpenPanel(const Corbelan::OpenPanelOptions &) override
    {
        return std::nullopt;
    }
    std::optional<QString> runSavePanel(const Corbelan::SavePanelOptions &) override { return m_path; }

private:
    QString m_path;
};

// The screen inside the window's frame and, when it is open, the menu beside it.
QPixmap grabAround(const QWidget &window, const QWidget *popup)
{
    QRect area = window.frameGeometry();
    if (popup && popup->isVisible())
        area = area.united(popup->geometry());
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <folder> <port> [<file>]\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    auto profile = AppShots::startApplication(app, argv[2]);
    Corbelan::FilePanel::setShared(std::make_shared<FixedSavePanel>(
        argc == 4 ? QString::fromLocal8Bit(argv[3]) : folder.filePath(QStringLiteral("keys.json"))));
    AppShots::ConnectedMainWindow shell;
    if (!shell.open(profile))
        return 1;
    shell.window.move(20, 20);
    shell.select(shell.db0);
    DerazProbeViewController *probe = shell.root->derazProbeViewController();
    if (!probe) {
        std::fprintf(stderr, "no probe container\n");
        return 1;
    }
    auto *browser = probe->derazKeysBrowseViewController();
    (void)QTest::qWaitFor([&] { return browser->dataDelegate()->itemCount() > 0; }, 20000);
    bool revealed = false;
    browser->setFileRevealer([&](const QString &) { revealed = true; });
    QTest::qWait(400);

    QAbstractButton *exportButton = nullptr;
    for (QAbstractButton *b : browser->toolBarView()->findChildren<QAbstractButton *>())
        if (b->property("tag").toLongLong() == 6)
            exportButton = b;
    if (!exportButton) {
        std::fprintf(stderr, "no export button\n");
        return 1;
    }
    exportButton->click();
    QMenu *menu = browser->exportMenu();
    (void)QTest::qWaitFor([&] { return menu->isVisible(); }, 5000);
    QTest::qWait(400);
    grabAround(shell.window, menu).save(folder.filePath(QStringLiteral("export-menu.png")));

    // Choose JSON lines: the save panel answers at once and the export starts.
    menu->hide();
    bool progressShot = false;
    bool failed = false;
    QObject::connect(
        browser->exchange(), &KeyBrowserExchange::exportInfoChanged, &app, [&](const QString &text) {
            if (text == QLatin1String("Export failed"))
                failed = true;
            if (progressShot || !text.contains(QLatin1String(" of ")))
                return;
            progressShot = true;
            QApplication::processEvents();
            grabAround(shell.window, nullptr).save(folder.filePath(QStringLiteral("export-progress.png")));
        });
    menu->actions().at(0)->trigger();
    if (!QTest::qWaitFor([&] { return revealed || failed; }, 600000)) {
        std::fprintf(stderr, "the export did not finish\n");
        return 1;
    }
    if (failed) {
        QTest::qWait(800);
        const QWidget *sheet = QApplication::activeModalWidget();
        grabAround(shell.window, sheet).save(folder.filePath(QStringLiteral("export-failed.png")));
        return 0;
    }
    QTest::qWait(400);
    grabAround(shell.window, nullptr).save(folder.filePath(QStringLiteral("export-done.png")));
    if (!progressShot)
        std::fprintf(stderr, "the export ended before its progress was shown\n");
    return progressShot ? 0 : 1;
}
