#include <corbelan/sqlite/XXXRWStatement.h>

#include <sqlite3.h>

XXXRWStatement::XXXRWStatement() = default;

XXXRWStatement::XXXRWStatement(sqlite3_stmt *statement)
    : m_statement(statement)
{
}

XXXRWStatement::~XXXRWStatement()
{
    close();
}

void XXXRWStatement::close()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_inUse = false;
    m_boundBuffers.clear();
}

void XXXRWStatement::reset()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        // The buffers below are about to go: no binding may keep pointing at them.
        sqlite3_clear_bindings(m_statement);
    }
    m_inUse = false;
    m_boundBuffers.clear();
}

QString XXXRWStatement::description() const
{
    return QStringLiteral("<XXXRWStatement: 0x%1> %2 hit(s) for query %3")
        .arg(QString::number(quintptr(this), 16), QString::number(m_useCount), m_query);
}

void XXXRWStatement::keepBoundBuffers(QList<QByteArray> buffers)
{
    m_boundBuffers = std::move(buffers);
}
