#include <bastwick/FileManagerAdditions.h>

#include "support/FileSizeLimit.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QtCore/QBuffer>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>

#include <gtest/gtest.h>

using namespace Bastwick;
using TestSupport::LogCapture;
using TestSupport::TempDir;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A folder holding two files (one hidden), an empty sub-folder and a folder of files.
class FileManagerAdditionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(writeFile(m_dir.path("b.txt"), "bee"));
        ASSERT_TRUE(writeFile(m_dir.path(".hidden"), "h"));
        ASSERT_TRUE(QDir().mkpath(m_dir.path("a-empty")));
        ASSERT_TRUE(QDir().mkpath(m_dir.path("files")));
        ASSERT_TRUE(writeFile(m_dir.path("files/one"), "1"));
        ASSERT_TRUE(writeFile(m_dir.path("files/two"), "22"));
    }

    TempDir m_dir;
};

TEST_F(FileManagerAdditionsTest, ListsEntriesAndFolders)
{
    struct Case
    {
        QString path;
        std::optional<QStringList> files;
        QStringList folders;
    };
    const Case cases[] = {
        {m_dir.path(), QStringList{".hidden", "a-empty", "b.txt", "files"},
         QStringList{m_dir.path("a-empty"), m_dir.path("files")}},
        {m_dir.path("files"), QStringList{"one", "two"}, {}}, // only files: no folders
        {m_dir.path("a-empty"), QStringList{}, {}},           // empty, but there
        {m_dir.path("missing"), std::nullopt, {}},
        {m_dir.path("b.txt"), std::nullopt, {}}, // a file is no directory
        {QString(), std::nullopt, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(readFilesAtPath(c.path), c.files);
        EXPECT_EQ(readFoldersAtPath(c.path), c.folders);
    }
}

TEST_F(FileManagerAdditionsTest, ExistenceTests)
{
    struct Case
    {
        QString path;
        bool exists;
        bool folder;
        qint64 size;
    };
    const Case cases[] = {
        {m_dir.path("b.txt"), true, false, 3},
        {m_dir.path("files/two"), true, false, 2},
        {m_dir.path("a-empty"), true, true, QFileInfo(m_dir.path("a-empty")).size()},
        {m_dir.path("missing"), false, false, 0},
        {m_dir.path("missing/deeper"), false, false, 0},
        {QString(), false, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(fileExistsAtPath(c.path), c.exists);
        EXPECT_EQ(isFileAtPath(c.path), c.exists);
        EXPECT_EQ(isFolderAtPath(c.path), c.folder);
        EXPECT_EQ(fileSizeForPath(c.path), c.size);
    }
}

TEST_F(FileManagerAdditionsTest, CreatesPathsAndFilesOnlyWhenMissing)
{
    const QString nested = m_dir.path("x/y/z");
    createPathIfNeded(nested);
    EXPECT_TRUE(isFolderAtPath(nested));

    // Something already there is left alone, file or folder.
    createPathIfNeded(m_dir.path("b.txt"));
    EXPECT_FALSE(isFolderAtPath(m_dir.path("b.txt")));
    EXPECT_EQ(readBytes(m_dir.path("b.txt")), QByteArray("bee"));

    {
        // A folder that cannot be made (its parent is a file) is logged, not created.
        LogCapture log;
        createPathIfNeded(m_dir.path("b.txt/sub"));
        EXPECT_FALSE(fileExistsAtPath(m_dir.path("b.txt/sub")));
        EXPECT_TRUE(log.contains(m_dir.path("b.txt/sub") + QStringLiteral(": Not a directory")));
    }

    EXPECT_TRUE(createFileIfNeeded(m_dir.path("new.txt")));
    EXPECT_TRUE(QFileInfo(m_dir.path("new.txt")).isFile());
    EXPECT_EQ(fileSizeForPath(m_dir.path("new.txt")), 0);
    // An existing file keeps its contents.
    EXPECT_TRUE(createFileIfNeeded(m_dir.path("b.txt")));
    EXPECT_EQ(readBytes(m_dir.path("b.txt")), QByteArray("bee"));
    // No folder to put it in.
    EXPECT_FALSE(createFileIfNeeded(m_dir.path("missing/new.txt")));
    EXPECT_FALSE(fileExistsAtPath(m_dir.path("missing/new.txt")));
}

TEST_F(FileManagerAdditionsTest, DocumentsFolderIsCreatedWhenMissing)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_FALSE(documents.isEmpty());
    QDir(documents).removeRecursively();
    ASSERT_FALSE(fileExistsAtPath(documents));

    EXPECT_EQ(appPath(), documents);
    EXPECT_TRUE(isFolderAtPath(documents));
    EXPECT_EQ(userDocumentPath(), documents);

    createFolder(QStringLiteral("Exports/2015"));
    EXPECT_TRUE(isFolderAtPath(QDir(documents).filePath(QStringLiteral("Exports/2015"))));
}

TEST_F(FileManagerAdditionsTest, ReadsTextInItsEncoding)
{
    const QString text = QStringLiteral("Grüße, 世界\n");
    QByteArray utf16le("\xff\xfe", 2);
    for (QChar c : text) {
        utf16le.append(char(c.unicode() & 0xff));
        utf16le.append(char(c.unicode() >> 8));
    }
    struct Case
    {
        const char *name;
        QByteArray bytes;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"utf8", text.toUtf8(), text},
        {"utf8-bom", QByteArray("\xef\xbb\xbf") + text.toUtf8(), text},
        {"utf16le-bom", utf16le, text},
        {"empty", QByteArray(), QString()},
        {"latin1",
         QByteArray("Gr\xfc\xdf"
                    "e"),
         std::nullopt}, // not UTF-8, no mark
        {"utf16le-lone-surrogate",
         QByteArray("\xff\xfe"
                    "a\0\x3d\xd8",
                    6),
         std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = m_dir.path(QString::fromLatin1(c.name));
        ASSERT_TRUE(writeFile(path, c.bytes));
        EXPECT_EQ(readFileByPath(path), c.expected);
    }
    EXPECT_EQ(readFileByPath(m_dir.path("missing")), std::nullopt);
    EXPECT_EQ(readFileByPath(m_dir.path("files")), std::nullopt); // a folder
    EXPECT_EQ(readFileByPath(QString()), std::nullopt);
}

// A file whose write runs out of room is never left cut short under its name: the
// write fails with the file's path and the system's reason, and the old content (or
// nothing) stays. The limit is small enough that a buffered write would only fail in
// the final flush, which is where a cut file used to slip through.
TEST_F(FileManagerAdditionsTest, AFileThatCannotBeWrittenWholeIsNotWrittenAtAll)
{
    const QByteArray content = QByteArray("0123456789").repeated(500);
    const QString fresh = m_dir.path("fresh.txt");
    const QString existing = m_dir.path("b.txt");
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    {
        TestSupport::FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.isActive());
        for (const QString &path : {fresh, existing}) {
            SCOPED_TRACE(qPrintable(path));
            QString error;
            EXPECT_FALSE(writeFileAtomically(path, content, &error));
            EXPECT_TRUE(error.startsWith(path + QStringLiteral(": "))) << qPrintable(error);
            EXPECT_TRUE(error.contains(TestSupport::FileSizeLimit::reason())) << qPrintable(error);
        }
        // What fits is written.
        EXPECT_TRUE(writeFileAtomically(m_dir.path("small.txt"), "small"));
    }
    EXPECT_FALSE(fileExistsAtPath(fresh));
    EXPECT_EQ(readBytes(existing), QByteArray("bee"));
    // No temporary file is left beside them.
    QStringList after = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    after.removeOne(QStringLiteral("small.txt"));
    EXPECT_EQ(after, before);

    QString error;
    EXPECT_TRUE(writeFileAtomically(fresh, content, &error, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        << qPrintable(error);
    EXPECT_EQ(readBytes(fresh), content);
    EXPECT_EQ(QFileInfo(fresh).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());
    // No folder to put it in.
    EXPECT_FALSE(writeFileAtomically(m_dir.path("missing/x.txt"), content, &error));
    EXPECT_TRUE(error.startsWith(m_dir.path("missing/x.txt"))) << qPrintable(error);
}

// A device that takes at most `chunk` bytes a call and refuses everything past `room`.
class NarrowDevice : public QBuffer
{
public:
    NarrowDevice(qint64 chunk, qint64 room)
        : m_chunk(chunk)
        , m_room(room)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 n = qMin(qMin(len, m_chunk), m_room - pos());
        if (n <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, n);
    }

private:
    qint64 m_chunk;
    qint64 m_room;
};

TEST(WriteAllBytes, GivesTheRestAgainAfterAShortWriteAndReportsTheDevicesReason)
{
    const QByteArray content = QByteArray("abcdefghij").repeated(10);
    NarrowDevice roomy(7, 1000);
    QString error;
    EXPECT_TRUE(writeAllBytes(roomy, content, &error)) << qPrintable(error);
    EXPECT_EQ(roomy.data(), content);

    NarrowDevice full(7, 30);
    EXPECT_FALSE(writeAllBytes(full, content, &error));
    EXPECT_EQ(error, QStringLiteral("No space left on device"));
}

TEST_F(FileManagerAdditionsTest, ReadsPropertyListFiles)
{
    const QString good = m_dir.path("good.plist");
    ASSERT_TRUE(writeFile(good, R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<array>
  <dict><key>key</key><string>user:1</string><key>type</key><integer>0</integer></dict>
  <dict><key>key</key><string>user:2</string><key>type</key><integer>2</integer></dict>
</array>
</plist>
)"));
    const QVariant root = readPlistFilesAtPath(good);
    ASSERT_EQ(root.typeId(), QMetaType::QVariantList);
    const QVariantList rows = root.toList();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].toMap().value(QStringLiteral("key")), QVariant(QStringLiteral("user:2")));
    EXPECT_EQ(rows[1].toMap().value(QStringLiteral("type")), QVariant(qint64(2)));

    const QString bad = m_dir.path("bad.plist");
    ASSERT_TRUE(writeFile(bad, "<plist><dict><key>a</key></dict></plist>"));
    LogCapture log;
    EXPECT_FALSE(readPlistFilesAtPath(bad).isValid());
    EXPECT_TRUE(log.contains(bad));
    EXPECT_FALSE(readPlistFilesAtPath(m_dir.path("missing.plist")).isValid());
    EXPECT_TRUE(log.contains(m_dir.path("missing.plist")));
    // The file is left as it was.
    EXPECT_EQ(readBytes(bad), QByteArray("<plist><dict><key>a</key></dict></plist>"));
}

} // namespace

namespace {

TEST(FileManagerAdditionsDeathTest, PropertyListNeedsAPath)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(readPlistFilesAtPath(QString()), "XXXAssertion failure");
}

} // namespace
