#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QLoggingCategory>
#include <QtCore/QString>

// Diagnostics. Every line reads "<function> [Line <n>] <message>" and goes through
// the Qt logging category of the library that wrote it ("kestrune.bastwick",
// "kestrune.corbelan", "kestrune.data", "kestrune.app", ...; each target defines
// KESTRUNE_LOG_CATEGORY). Debug lines are on in debug builds and tests and off in
// release builds; warnings and errors are always on.
//
//   XXXLog(QStringLiteral("connected %1").arg(host));
//   XXXLog(Bastwick::format("%@ keys", count));
//
// Messages are plain text, never a format built from user data. Long texts (whole
// replies, command lines) are cut to 200 characters by Bastwick::logText(). URLs are
// written through Bastwick::maskedURL(); logLine() masks whatever URL a message still
// holds, so no line shows a password.

#ifndef KESTRUNE_LOG_CATEGORY
#define KESTRUNE_LOG_CATEGORY "kestrune"
#endif

namespace Bastwick {

// The category of the given name, made once and kept for the life of the process.
BASTWICK_EXPORT const QLoggingCategory &logCategory(const char *name);

// Writes one log line "<function> [Line <line>] <message>".
BASTWICK_EXPORT void logLine(const QLoggingCategory &category, QtMsgType type, const char *function, int line,
                             const QString &message);

// The text cut to at most maxLength characters (an ellipsis marks the cut).
BASTWICK_EXPORT QString logText(const QString &text, int maxLength = 200);
BASTWICK_EXPORT QString logText(const QByteArray &bytes, int maxLength = 200);

} // namespace Bastwick

#define XXX_LOG_AT(type, message)                                                                            \
    do {                                                                                                     \
        const QLoggingCategory &xxx_cat_ = ::Bastwick::logCategory(KESTRUNE_LOG_CATEGORY);                   \
        if (xxx_cat_.isEnabled(type))                                                                        \
            ::Bastwick::logLine(xxx_cat_, type, __func__, __LINE__, (message));                              \
    } while (false)

#define XXXLog(message) XXX_LOG_AT(QtDebugMsg, message)
#define XXXLogInfo(message) XXX_LOG_AT(QtInfoMsg, message)
#define XXXLogWarning(message) XXX_LOG_AT(QtWarningMsg, message)
#define XXXLogError(message) XXX_LOG_AT(QtCriticalMsg, message)
