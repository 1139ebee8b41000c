#include <bastwick/platform/Assert.h>

#include <bastwick/platform/Exception.h>
#include <bastwick/platform/Log.h>

#include <cstdio>
#include <cstdlib>

namespace Bastwick {

QString assertionText(const char *condition, const char *function, const char *file, int line,
                      const QString &detail)
{
    return QStringLiteral("XXXAssertion failure: %1 in %2 on line %3:%4. %5")
        .arg(QString::fromUtf8(condition), QString::fromUtf8(function), QString::fromUtf8(file))
        .arg(line)
        .arg(detail);
}

void assertionFailure(const char *condition, const char *function, const char *file, int line,
                      const QString &detail)
{
    const QString text = assertionText(condition, function, file, line, detail);
    logLine(logCategory("kestrune.bastwick"), QtCriticalMsg, function, line, text);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

void runGuarded(const char *where, const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const Exception &e) {
        assertionFailure("no exception", where, __FILE__, __LINE__,
                         e.name() + QStringLiteral(": ") + e.reason());
    } catch (const std::exception &e) {
        assertionFailure("no exception", where, __FILE__, __LINE__, QString::fromUtf8(e.what()));
    }
}

} // namespace Bastwick
