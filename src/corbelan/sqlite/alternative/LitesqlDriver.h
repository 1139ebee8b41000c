#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/alternative/LitesqlResult.h>

#include <QtCore/QString>
#include <QtCore/QVariantList>

#include <memory>

struct sqlite3;

// The lowest layer of the text-only SQLite stack: one connection to a file kept in the
// folder "/DirOV/" under the user's Documents directory (seeded from the application's
// resource of the same name when missing). Every argument is bound as text and every
// column is read as text.
class CORBELAN_EXPORT LitesqlDriver
{
public:
    // A driver with its connection open, or null when the file cannot be opened.
    static std::unique_ptr<LitesqlDriver> create(const QString &fileName);
    // Closes the connection.
    ~LitesqlDriver();

    LitesqlDriver(const LitesqlDriver &) = delete;
    LitesqlDriver &operator=(const LitesqlDriver &) = delete;

    // The folder that holds the seeds (default ":/", the application's resources).
    static QString resourceDirectory();
    static void setResourceDirectory(const QString &directory);

    QString databasePath() const { return m_databasePath; }
    sqlite3 *dbHandler() const { return m_dbHandler; }

    // Copies the seed of that name to databasePath when no file is there; the outcome
    // is not reported.
    void checkAndCreateDatabase(const QString &fileName);

    LitesqlResult querySql(const QString &sql);
    // Binds value i to parameter i + 1 as its description text.
    LitesqlResult querySql(const QString &sql, const QVariantList &bind);

private:
    LitesqlDriver() = default;
    bool initWithDatabase(const QString &fileName);

    QString m_databasePath;
    sqlite3 *m_dbHandler = nullptr;
};
