#include <corbelan/sqlite/alternative/LitesqlDriver.h>

#include <corbelan/sqlite/alternative/AltSqliteSupport.h>

#include <bastwick/ByteText.h>
#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

#include <sqlite3.h>

namespace {

Corbelan::AltSqlite::ResourceFolder &resources()
{
    static Corbelan::AltSqlite::ResourceFolder folder;
    return folder;
}

} // namespace

QString LitesqlDriver::resourceDirectory()
{
    return resources().path();
}

void LitesqlDriver::setResourceDirectory(const QString &directory)
{
    resources().setPath(directory);
}

std::unique_ptr<LitesqlDriver> LitesqlDriver::create(const QString &fileName)
{
    std::unique_ptr<LitesqlDriver> driver(new LitesqlDriver());
    if (!driver->initWithDatabase(fileName))
        return nullptr;
    return driver;
}

bool LitesqlDriver::initWithDatabase(const QString &fileName)
{
    const QString folder = Bastwick::appPath() + QStringLiteral("/DirOV/");
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    m_databasePath = QDir::cleanPath(folder + QLatin1Char('/') + fileName);
    checkAndCreateDatabase(fileName);

    sqlite3 *handle = nullptr;
    if (sqlite3_open(m_databasePath.toUtf8().constData(), &handle) != SQLITE_OK) {
        sqlite3_close_v2(handle);
        return false;
    }
    m_dbHandler = handle;
    return true;
}

LitesqlDriver::~LitesqlDriver()
{
    if (m_dbHandler)
        sqlite3_close_v2(m_dbHandler);
    m_dbHandler = nullptr;
}

void LitesqlDriver::checkAndCreateDatabase(const QString &fileName)
{
    if (QFileInfo::exists(m_databasePath))
        return;
    // The outcome is not reported: without a seed SQLite makes an empty file.
    Corbelan::AltSqlite::copySeed(QDir::cleanPath(resourceDirectory() + QLatin1Char('/') + fileName),
                                  m_databasePath, nullptr);
}

LitesqlResult LitesqlDriver::querySql(const QString &sql)
{
    return querySql(sql, QVariantList());
}

LitesqlResult LitesqlDriver::querySql(const QString &sql, const QVariantList &bind)
{
    LitesqlResult result;
    sqlite3_stmt *statement = nullptr;
    const int prepared = sqlite3_prepare_v2(m_dbHandler, sql.toUtf8().constData(), -1, &statement, nullptr);
    result.setCode(prepared);
    if (prepared != SQLITE_OK) {
        result.setMsg(QString::fromUtf8(sqlite3_errmsg(m_dbHandler)));
        sqlite3_finalize(statement);
        return result;
    }
    if (!statement) {
        // Only white space or a comment: there is no statement to run, which SQLite
        // answers as a misuse.
        result.setCode(SQLITE_MISUSE);
        return result;
    }

    for (int i = 0; i < bind.size(); ++i) {
        const QByteArray text = Bastwick::bytesFromText(Bastwick::describe(bind.at(i)));
        sqlite3_bind_text(statement, i + 1, text.constData(), text.size(), SQLITE_TRANSIENT);
    }

    for (;;) {
        const int stepped = sqlite3_step(statement);
        result.setCode(stepped);
        if (stepped != SQLITE_ROW)
            break;
        const int columns = sqlite3_column_count(statement);
        QStringList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, c));
            if (text)
                row.append(Bastwick::textFromBytes(text, sqlite3_column_bytes(statement, c)));
            else
                row.append(QString(QLatin1String("")));
        }
        result.data().append(row);
    }
    sqlite3_finalize(statement);
    return result;
}
