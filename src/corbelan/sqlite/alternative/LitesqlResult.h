#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>

// The outcome of one statement run by LitesqlDriver: the SQLite result code (the
// prepare's code when preparing failed, else the code of the last step, SQLITE_DONE
// when every row was read), SQLite's message when preparing failed (else a null
// string), and the rows read, each a list of column texts in column order.
class CORBELAN_EXPORT LitesqlResult
{
public:
    qint64 code() const { return m_code; }
    void setCode(qint64 code) { m_code = code; }

    QString msg() const { return m_msg; }
    void setMsg(const QString &msg) { m_msg = msg; }

    const QList<QStringList> &data() const { return m_data; }
    QList<QStringList> &data() { return m_data; }

private:
    qint64 m_code = 0;
    QString m_msg;
    QList<QStringList> m_data;
};
