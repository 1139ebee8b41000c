#include <corbelan/sqlite/alternative/SQLiteDataBaseQueue.h>

#include <corbelan/sqlite/alternative/SQLiteDataBaseAdapter.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/SerialQueue.h>

SQLiteDataBaseQueue::SQLiteDataBaseQueue() = default;

bool SQLiteDataBaseQueue::initWithPath(const QString &path)
{
    m_dbPath = path;
    m_db = std::make_unique<SQLiteDataBaseAdapter>(path);
    if (!m_db->open()) {
        XXXLogWarning(QStringLiteral("SQLiteDataBaseQueue open db path =") + path +
                      QStringLiteral(" failed!"));
        m_db.reset();
        return false;
    }
    m_queue = std::make_unique<Bastwick::SerialQueue>(QStringLiteral("sqlitedatabase.") + description());
    return true;
}

SQLiteDataBaseQueue::~SQLiteDataBaseQueue()
{
    if (m_queue) {
        m_queue->sync([this] {
            if (m_db)
                m_db->close();
            m_db.reset();
        });
    }
    m_queue.reset();
}

QString SQLiteDataBaseQueue::description() const
{
    return QStringLiteral("<SQLiteDataBaseQueue: 0x%1>")
        .arg(QString::number(reinterpret_cast<quintptr>(this), 16));
}

QString SQLiteDataBaseQueue::label() const
{
    return m_queue ? m_queue->label() : QString();
}

SQLiteDataBaseAdapter *SQLiteDataBaseQueue::db()
{
    if (!m_db)
        m_db = std::make_unique<SQLiteDataBaseAdapter>(m_dbPath);
    return m_db.get();
}

bool SQLiteDataBaseQueue::refuseReentrance(const char *operation) const
{
    if (!Bastwick::SerialQueue::isOnCurrentStack(m_queue.get()))
        return false;
    // Waiting for ourselves would never end: refuse, and say so as the failed assertion.
    XXXLogError(Bastwick::assertionText(
        "currentSyncQueue != self && \"inDatabase: was called reentrantly on the same queue, "
        "which would lead to a deadlock\"",
        operation, __FILE__, __LINE__, QString()));
    return true;
}

bool SQLiteDataBaseQueue::inDatabase(const Block &block)
{
    if (refuseReentrance("inDatabase"))
        return false;
    m_queue->sync([this, &block] {
        SQLiteDataBaseAdapter *adapter = db();
        if (block)
            block(adapter);
        if (adapter->hasOpenResultSets())
            XXXLog(QStringLiteral("Warning: there is at least one open result set around after "
                                  "performing [SQLiteDataBaseQueue inDatabase:]"));
    });
    return true;
}

void SQLiteDataBaseQueue::close()
{
    if (refuseReentrance("close"))
        return;
    m_queue->sync([this] {
        if (m_db)
            m_db->close();
        m_db.reset();
    });
}
