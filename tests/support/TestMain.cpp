// The one test main of every test binary: a fixed locale and time zone, HOME and the
// XDG folders pointed at a temporary folder (tests never touch the user's real
// settings or Documents), debug log lines on, an offscreen application object, then
// the setup hooks of the binary, then the tests.

#include "support/TestSetup.h"

#include <QtCore/QDir>
#include <QtCore/QLoggingCategory>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <vector>

namespace TestSupport {

namespace {
std::vector<std::function<void()>> &hooks()
{
    static std::vector<std::function<void()>> h;
    return h;
}
} // namespace

SetupHook::SetupHook(std::function<void()> fn)
{
    hooks().push_back(std::move(fn));
}

void runSetupHooks()
{
    for (auto &fn : hooks())
        fn();
}

} // namespace TestSupport

int main(int argc, char **argv)
{
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("LANG", "C.UTF-8", 1);
    if (!getenv("TZ"))
        setenv("TZ", "Europe/Berlin", 1);
    tzset();
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QTemporaryDir home;
    const QByteArray h = home.path().toLocal8Bit();
    setenv("HOME", h.constData(), 1);
    for (const char *var :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_DOCUMENTS_DIR"}) {
        const QByteArray sub = h + "/" + QByteArray(var).toLower();
        QDir().mkpath(QString::fromLocal8Bit(sub));
        setenv(var, sub.constData(), 1);
    }
    setenv("XDG_RUNTIME_DIR", h.constData(), 1);
    QStandardPaths::setTestModeEnabled(false);

    QLoggingCategory::setFilterRules(QStringLiteral("kestrune.*.debug=true"));

    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrune"));
    QApplication::setOrganizationName(QStringLiteral("Kestrune"));
    TestSupport::runSetupHooks();
    return RUN_ALL_TESTS();
}
