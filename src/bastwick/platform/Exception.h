#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <exception>

namespace Bastwick {

// What an operation "raises". Queue workers and event-loop entry points catch it at
// their edge and stop through the assertion macro, so it never unwinds across Qt.
class BASTWICK_EXPORT Exception : public std::exception
{
public:
    // Common names, as the platform spells them.
    static const char *const kInvalidArgument;       // "NSInvalidArgumentException"
    static const char *const kInternalInconsistency; // "NSInternalInconsistencyException"

    Exception(QString name, QString reason);
    const QString &name() const { return m_name; }
    const QString &reason() const { return m_reason; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_name;
    QString m_reason;
    QByteArray m_what;
};

} // namespace Bastwick
