#include <corbelan/services/FileManager.h>
#include <corbelan/services/XXXOpenFileManager.h>

#include "QtPrinters.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace {

// Answers the panels as told and keeps the options it was shown with.
class FakePanel : public Corbelan::FilePanel
{
public:
    std::optional<QStringList> openAnswer;
    std::optional<QString> saveAnswer;
    Corbelan::OpenPanelOptions openShown;
    Corbelan::SavePanelOptions saveShown;
    int runs = 0;

    std::optional<QStringList> runOpenPanel(const Corbelan::OpenPanelOptions &options) override
    {
        ++runs;
        openShown = options;
        return openAnswer;
    }
    std::optional<QString> runSavePanel(const Corbelan::SavePanelOptions &options) override
    {
        ++runs;
        saveShown = options;
        return saveAnswer;
    }
};

TEST(OpenFileManager, OpenPanelHandsOverAPathOrAList)
{
    const QStringList two{QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b.txt")};
    const struct
    {
        const char *what;
        std::optional<QStringList> answer;
        bool multiple;
        int calls;
        QVariant received;
    } cases[] = {
        {"single selection gets the first path", two, false, 1, QVariant(two.first())},
        {"multiple selection gets the list", two, true, 1, QVariant(two)},
        {"one file with multiple selection is still a list", QStringList{two.first()}, true, 1,
         QVariant(QStringList{two.first()})},
        {"cancelled", std::nullopt, true, 0, QVariant()},
        {"OK without a path", QStringList{}, false, 0, QVariant()},
    };
    for (const auto &c : cases) {
        auto panel = std::make_shared<FakePanel>();
        panel->openAnswer = c.answer;
        XXXOpenFileManager manager(panel);
        manager.allowsMultipleSelection = c.multiple;
        manager.canChooseFiles = true;
        int calls = 0;
        QVariant received;
        manager.openCallback = [&](const QVariant &v) {
            ++calls;
            received = v;
        };
        TestSupport::LogCapture log;
        manager.showOpenPanel();
        EXPECT_EQ(panel->runs, 1) << c.what;
        // Each chosen file is logged as its URL.
        for (const QString &path : c.answer.value_or(QStringList())) {
            EXPECT_EQ(log.count(QStringLiteral("showOpenPanel patn file://") + path), 1)
                << c.what << " " << path.toStdString();
        }
        EXPECT_EQ(calls, c.calls) << c.what;
        EXPECT_EQ(received, c.received) << c.what;
        EXPECT_EQ(received.metaType(), c.received.metaType()) << c.what;
    }
}

TEST(OpenFileManager, PanelOptionsComeFromTheFields)
{
    auto panel = std::make_shared<FakePanel>();
    panel->openAnswer = QStringList{QStringLiteral("/d")};
    XXXOpenFileManager manager(panel);
    manager.canChooseDirectories = true;
    manager.showOpenPanel(); // no callback set: nothing to call, nothing fails
    EXPECT_TRUE(panel->openShown.canChooseDirectories);
    EXPECT_FALSE(panel->openShown.canChooseFiles);
    EXPECT_TRUE(panel->openShown.allowedFileTypes.isEmpty());
    manager.fileTypes = {QStringLiteral("txt")};
    manager.showOpenPanel();
    EXPECT_EQ(panel->openShown.allowedFileTypes, QStringList{QStringLiteral("txt")});

    manager.saveTitle = QStringLiteral("Export");
    manager.saveMessage = QStringLiteral("Choose where to export");
    manager.saveFileExtensions = {QStringLiteral("json")};
    manager.fileName = QStringLiteral("keys.json");
    manager.showSavePanel();
    EXPECT_EQ(panel->saveShown.title, QStringLiteral("Export"));
    EXPECT_EQ(panel->saveShown.message, QStringLiteral("Choose where to export"));
    EXPECT_EQ(panel->saveShown.allowedFileTypes, QStringList{QStringLiteral("json")});
    EXPECT_EQ(panel->saveShown.fileName, QStringLiteral("keys.json"));
}

TEST(OpenFileManager, SavePanelCallsPathThenURLOnlyOnOK)
{
    for (const std::optional<QString> &answer :
         {std::optional<QString>(QStringLiteral("/tmp/out file.json")), std::optional<QString>()}) {
        auto panel = std::make_shared<FakePanel>();
        panel->saveAnswer = answer;
        XXXOpenFileManager manager(panel);
        QStringList order;
        QUrl url;
        QByteArray bookmark;
        manager.saveCallback = [&](const QString &path) { order << QStringLiteral("path:") + path; };
        manager.saveURLCallback = [&](const QUrl &u, const QByteArray &b) {
            order << QStringLiteral("url");
            url = u;
            bookmark = b;
        };
        manager.showSavePanel();
        if (!answer) {
            EXPECT_TRUE(order.isEmpty());
            continue;
        }
        EXPECT_EQ(order, (QStringList{QStringLiteral("path:/tmp/out file.json"), QStringLiteral("url")}));
        EXPECT_EQ(url.toLocalFile(), QStringLiteral("/tmp/out file.json"));
        EXPECT_EQ(QUrl::fromEncoded(bookmark).toLocalFile(), QStringLiteral("/tmp/out file.json"));
    }
}

// Answers the next application-modal file dialog once the event loop runs it.
void answerNextDialog(const std::function<void(QFileDialog *)> &answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

TEST(OpenFileManager, FileDialogPanelsReturnTheAnswer)
{
    TestSupport::TempDir dir;
    const QString existing = dir.path(QStringLiteral("keys.txt"));
    QFile(existing).open(QIODevice::WriteOnly);
    Corbelan::FileDialogPanel panel;

    Corbelan::OpenPanelOptions open;
    open.canChooseFiles = true;
    open.allowedFileTypes = {QStringLiteral("txt")};
    answerNextDialog([&](QFileDialog *d) {
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
        d->selectFile(existing);
        static_cast<QDialog *>(d)->accept(); // QFileDialog checks the choice, then closes
    });
    EXPECT_EQ(panel.runOpenPanel(open), QStringList{existing});
    answerNextDialog([](QFileDialog *d) { d->reject(); });
    EXPECT_FALSE(panel.runOpenPanel(open).has_value());

    Corbelan::SavePanelOptions save;
    save.title = QStringLiteral("Export keys");
    save.message = QStringLiteral("Where should the keys go?");
    save.allowedFileTypes = {QStringLiteral("json")};
    save.fileName = QStringLiteral("keys");
    answerNextDialog([&](QFileDialog *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Export keys"));
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        d->setDirectory(dir.path());
        d->selectFile(QStringLiteral("keys"));
        static_cast<QDialog *>(d)->accept(); // QFileDialog checks the choice, then closes
    });
    EXPECT_EQ(panel.runSavePanel(save), std::optional<QString>(dir.path(QStringLiteral("keys.json"))));
}

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList sorted(QStringList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

TEST(FileManager, DirectoryToolsListTheTree)
{
    TestSupport::TempDir dir;
    const QString root = dir.path();
    for (const char *name : {"a.png", "b.JPG", "c.PNG", "notes.txt", "sub/d.png", "sub/e.h", "sub/f.m",
                             "sub/deep/g.plist", "sub/deep/h.mm", "x.xib", "y.xml", "z.hpp"})
        touch(root + QLatin1Char('/') + QString::fromLatin1(name));
    FileManager &fm = FileManager::sharedFileManager();

    // Not recursive, extension in any letter case.
    EXPECT_EQ(sorted(fm.imageFilePathAtFolder(root)),
              (QStringList{root + "/a.png", root + "/b.JPG", root + "/c.PNG"}));
    EXPECT_FALSE(fm.imageFilePathAtFolder(root, QStringLiteral("group")).has_value());

    // Recursive, name patterns case-sensitive; the listing ends in an empty entry.
    QStringList pngs = fm.imageFilesAtDirectory(root);
    ASSERT_FALSE(pngs.isEmpty());
    EXPECT_EQ(pngs.takeLast(), QString());
    EXPECT_EQ(sorted(pngs), (QStringList{root + "/a.png", root + "/sub/d.png"}));
    EXPECT_EQ(fm.imageFilesAtDirectory(root + "/missing"), QStringList{QString()});

    EXPECT_EQ(sorted(fm.unusedImageFilesAtDirectory(root + "/")),
              sorted({root + "/sub/e.h", root + "/sub/f.m", root + "/sub/deep/g.plist",
                      root + "/sub/deep/h.mm", root + "/x.xib", root + "/y.xml"}));
    EXPECT_TRUE(fm.unusedImageFilesAtDirectory(root + "/missing").isEmpty());

    FileManager::clearAllFilesAtPath(root);
    EXPECT_TRUE(QFileInfo(root).isDir());
    EXPECT_TRUE(QDir(root).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(FileManager, HeaderImportLines)
{
    TestSupport::TempDir dir;
    const QString root = dir.path();
    for (const char *name : {"Foo.h", "Bar.h", "Bar.m", "Inner/Baz.h", "Inner/Deeper/Qux.h", "Foo/Skipped.h"})
        touch(root + QLatin1Char('/') + QString::fromLatin1(name));
    FileManager &fm = FileManager::sharedFileManager();

    // Level by level; with a prefix, the entries named after it are skipped whole.
    EXPECT_EQ(fm.findHeaderFilesAtPaths({root}, QStringLiteral("Foo")),
              (QStringList{"#import <Foo/Bar.h>", "#import <Foo/Baz.h>", "#import <Foo/Qux.h>"}));
    EXPECT_EQ(fm.findHeaderFilesAtPaths({root}),
              (QStringList{"#import \"Bar.h\"", "#import \"Foo.h\"", "#import \"Skipped.h\"",
                           "#import \"Baz.h\"", "#import \"Qux.h\""}));
    EXPECT_TRUE(fm.findHeaderFilesAtPaths({root + "/missing"}).isEmpty());
}

TEST(FileManager, ImageFilterAndPaths)
{
    const struct
    {
        const char *path;
        bool valid;
    } cases[] = {
        {"/p/icon.png", true},     {"/p/Icon.png", false},     {"/p/Icon-72.png", false},
        {"/p/Default.png", false}, {"/p/a@2x.png", false},     {"/p/x.bundle/a.png", false},
        {"/p/a~iPad.png", false},  {"/p/A~IPAD/b.png", false}, {"/p/default.png", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileManager::sharedFileManager().isValidImageAtPath(QString::fromLatin1(c.path)), c.valid)
            << c.path;

    EXPECT_FALSE(FileManager::appPath().isEmpty());
    EXPECT_EQ(FileManager::userDocumentPath(), FileManager::appPath());
    EXPECT_EQ(FileManager::jsonCachePath(), FileManager::appPath() + QStringLiteral("/JSONCache"));
    EXPECT_TRUE(FileManager::fileExistsAtPath(FileManager::appPath()));
}

} // namespace
