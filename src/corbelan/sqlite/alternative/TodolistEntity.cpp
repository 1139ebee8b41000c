#include <corbelan/sqlite/alternative/TodolistEntity.h>

#include <corbelan/sqlite/XXXRWDatabase.h>

#include <bastwick/platform/KeyValue.h>

TodolistEntity::TodolistEntity()
    : ActiveSqlite("TodolistEntity")
{
}

TodolistEntity::TodolistEntity(const XXXRWDatabasePtr &database)
    : ActiveSqlite(database)
{
    configure();
}

TodolistEntity::~TodolistEntity() = default;

QString TodolistEntity::classTableName()
{
    return QStringLiteral("todolist");
}

QStringList TodolistEntity::classFields()
{
    return {fieldPrimary(), fieldTimestamp(), fieldDone(), fieldTodo()};
}

QString TodolistEntity::fieldPrimary()
{
    return QStringLiteral("id");
}

QString TodolistEntity::fieldTimestamp()
{
    return QStringLiteral("timestamp");
}

QString TodolistEntity::fieldDone()
{
    return QStringLiteral("done");
}

QString TodolistEntity::fieldTodo()
{
    return QStringLiteral("todo");
}

QString TodolistEntity::sqlForCreateTable()
{
    return QStringLiteral("CREATE TABLE if not exists todolist(id INTEGER NOT NULL PRIMARY KEY "
                          "AUTOINCREMENT, timestamp FLOAT, done boolean, todo TEXT)");
}

void TodolistEntity::configure()
{
    setTableName(classTableName());
    setFields(classFields());
    setPrimaryField(fieldPrimary());
    reset();
}

void TodolistEntity::reset()
{
    setPrimaryId(kNotStored);
    m_timestamp = QDateTime();
    m_done = false;
    m_todo = QString();
}

QVariantList TodolistEntity::parameters() const
{
    return {dateToValue(m_timestamp), QVariant(m_done),
            nilFilter(m_todo.isNull() ? QVariant() : QVariant(m_todo)),
            QVariant::fromValue<qint64>(primaryId())};
}

qint64 TodolistEntity::insert()
{
    QString columns = QStringLiteral("timestamp,done,todo");
    QString marks = QStringLiteral("?,?,?");
    if (primaryId() != kNotStored) {
        columns += QStringLiteral(", id");
        marks += QStringLiteral(", ?");
    }
    return insertWithSql(QStringLiteral("INSERT INTO todolist(") + columns + QStringLiteral(") VALUES (") +
                             marks + QLatin1Char(')'),
                         parameters());
}

bool TodolistEntity::update()
{
    XXXRWDatabase *db = openDatabase();
    const bool ok = db && db->executeUpdate(QStringLiteral("UPDATE todolist SET timestamp = ?,done = "
                                                           "?,todo = ? WHERE id = ?"),
                                            parameters());
    closeDatabase();
    return ok;
}

void TodolistEntity::parseFromDictionary(const QVariantMap &row)
{
    setData(row);
    const QVariant id = row.value(QStringLiteral("id"));
    setPrimaryId(Bastwick::isNilOrNull(id) ? 0 : id.toLongLong());
    m_timestamp = valueToDate(row.value(QStringLiteral("timestamp")));
    m_done = valueToBool(row.value(QStringLiteral("done")));
    m_todo = valueToString(row.value(QStringLiteral("todo")));
}
