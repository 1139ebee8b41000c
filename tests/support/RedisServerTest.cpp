#include "support/RedisServer.h"

#include <QtNetwork/QTcpSocket>

#include <gtest/gtest.h>

// The server starter used by every test that needs a server: plain and password-protected
// servers come up on a free loopback port and go away when stopped.
TEST(RedisServerSupport, StartsPlainAndPasswordProtectedServers)
{
    TestSupport::RedisServer plain;
    ASSERT_TRUE(plain.start()) << plain.error().toStdString();
    EXPECT_TRUE(plain.command({"PING"}).startsWith("+PONG"));

    TestSupport::RedisServer locked;
    ASSERT_TRUE(locked.start({"--requirepass", "secret"})) << locked.error().toStdString();
    EXPECT_NE(locked.port(), plain.port());
    EXPECT_TRUE(locked.command({"PING"}).startsWith("-NOAUTH"));

    const int port = plain.port();
    plain.stop();
    EXPECT_FALSE(plain.isRunning());
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    EXPECT_FALSE(socket.waitForConnected(1000)) << "nothing listens once the server is stopped";
}
