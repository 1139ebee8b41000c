#pragma once

#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QStringList>

namespace TestSupport {

// Captures every log line written while it lives (all categories, all levels),
// then restores the previous handler. Lines keep Qt's message text, which for our
// macros is "<function> [Line <n>] <message>".
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    QStringList lines() const;
    // The lines logged as warnings or worse (critical, fatal).
    QStringList warnings() const;
    bool contains(const QString &text) const; // any line containing text
    int count(const QString &text) const;
    void clear();

private:
    static void handler(QtMsgType, const QMessageLogContext &, const QString &);
    mutable QMutex m_mutex;
    QStringList m_lines;
    QStringList m_warnings;
    QtMessageHandler m_previous = nullptr;
    LogCapture *m_outer = nullptr;
};

} // namespace TestSupport
