#pragma once

#include <kestrune/data/records/DBProfile.h>

#include "support/Alerts.h"
#include "support/RedisServer.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <memory>

namespace ShellTest {

using TestSupport::closeAlerts;
using TestSupport::openAlerts;

inline TestSupport::RedisServer &server()
{
    return TestSupport::RedisServer::running();
}

// Runs a command against one database of the test server (each command of the
// server helper is a connection of its own, so the database is chosen inside a script).
inline QByteArray commandIn(int db, const QList<QByteArray> &args)
{
    QList<QByteArray> eval{"EVAL", "redis.call('select', ARGV[1]); return redis.call(unpack(ARGV, 2))", "0",
                           QByteArray::number(db)};
    eval.append(args);
    return server().command(eval);
}

inline bool existsIn(int db, const QByteArray &key)
{
    return commandIn(db, {"EXISTS", key}).startsWith(":1");
}

inline qint64 sizeOf(int db)
{
    const QByteArray reply = commandIn(db, {"DBSIZE"});
    return reply.startsWith(':') ? reply.mid(1).trimmed().toLongLong() : -1;
}

inline void setIn(int db, const QByteArray &key)
{
    commandIn(db, {"SET", key, "v"});
}

inline std::shared_ptr<DBProfile> derazProfile(int port = -1)
{
    auto profile = std::make_shared<DBProfile>();
    profile->setScheme(kDerazURLScheme);
    profile->setHost(server().host());
    profile->setPort(port < 0 ? server().port() : port);
    profile->urlFormat();
    return profile;
}

// Presses the button of the alert whose role is the given one.
inline void press(QMessageBox *box, QMessageBox::ButtonRole role)
{
    for (QAbstractButton *button : box->buttons()) {
        if (box->buttonRole(button) == role) {
            button->click();
            return;
        }
    }
}

} // namespace ShellTest
