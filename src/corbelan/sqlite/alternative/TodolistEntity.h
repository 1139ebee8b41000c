#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/alternative/ActiveSqlite.h>

#include <QtCore/QDateTime>
#include <QtCore/QString>

// The sample record of the active-record base: one row of table "todolist".
class CORBELAN_EXPORT TodolistEntity : public ActiveSqlite
{
public:
    // A record needs a connection: this raises "请使用 initWithRWDB: 初始化TodolistEntity".
    TodolistEntity();
    explicit TodolistEntity(const XXXRWDatabasePtr &database);
    ~TodolistEntity() override;

    static QString classTableName();  // "todolist"
    static QStringList classFields(); // "id", "timestamp", "done", "todo"
    static QString fieldPrimary();    // "id"
    static QString fieldTimestamp();  // "timestamp"
    static QString fieldDone();       // "done"
    static QString fieldTodo();       // "todo"
    static QString sqlForCreateTable();

    QDateTime timestamp() const { return m_timestamp; }
    void setTimestamp(const QDateTime &timestamp) { m_timestamp = timestamp; }
    bool done() const { return m_done; }
    void setDone(bool done) { m_done = done; }
    QString todo() const { return m_todo; }
    void setTodo(const QString &todo) { m_todo = todo; }

    // Not stored, no timestamp, not done, no text.
    void reset();
    // timestamp (seconds since 1970 or NULL), done, todo (or NULL), primaryId.
    QVariantList parameters() const;

    // The new id (not stored in primaryId), or -1.
    qint64 insert() override;
    bool update() override;
    void parseFromDictionary(const QVariantMap &row) override;

private:
    void configure();

    QDateTime m_timestamp;
    bool m_done = false;
    QString m_todo;
};
