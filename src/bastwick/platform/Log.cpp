#include <bastwick/platform/Log.h>

#include <bastwick/URLMasking.h>

#include <QtCore/QHash>
#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>

#include <memory>

namespace Bastwick {

const QLoggingCategory &logCategory(const char *name)
{
    static QMutex mutex;
    // Never destroyed: lines may still be written while statics are torn down, and the
    // categories stay reachable (not a leak) for the life of the process.
    static auto *const categories = new QHash<QByteArray, QLoggingCategory *>;
    QMutexLocker lock(&mutex);
    const QByteArray key(name);
    auto it = categories->constFind(key);
    if (it != categories->constEnd())
        return **it;
    // Category names must outlive the category: keep a copy for the process's life.
    char *stored = qstrdup(name);
#ifdef NDEBUG
    auto *category = new QLoggingCategory(stored, QtInfoMsg);
#else
    auto *category = new QLoggingCategory(stored, QtDebugMsg);
#endif
    categories->insert(key, category);
    return *category;
}

void logLine(const QLoggingCategory &category, QtMsgType type, const char *function, int line,
             const QString &message)
{
    // A URL that reaches a line unmasked still never shows its password.
    const QString text =
        QStringLiteral("%1 [Line %2] %3").arg(QString::fromUtf8(function)).arg(line).arg(maskedURL(message));
    QMessageLogger logger(nullptr, 0, function, category.categoryName());
    switch (type) {
    case QtDebugMsg:
        logger.debug().noquote() << text;
        break;
    case QtInfoMsg:
        logger.info().noquote() << text;
        break;
    case QtWarningMsg:
        logger.warning().noquote() << text;
        break;
    default:
        logger.critical().noquote() << text;
        break;
    }
}

QString logText(const QString &text, int maxLength)
{
    if (text.size() <= maxLength)
        return text;
    return text.left(maxLength) + QStringLiteral("…");
}

QString logText(const QByteArray &bytes, int maxLength)
{
    return logText(QString::fromUtf8(bytes.left(maxLength * 4)), maxLength);
}

} // namespace Bastwick
