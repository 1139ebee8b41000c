#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>

#include <functional>

// The failed-assertion macro. Active in every build type: on failure it logs
// "XXXAssertion failure: <condition> in <function> on line <file>:<line>. <detail>"
// (through the "%s [Line %d] %@" log form) and stops the program.

namespace Bastwick {

[[noreturn]] BASTWICK_EXPORT void assertionFailure(const char *condition, const char *function,
                                                   const char *file, int line, const QString &detail);

// The text of an assertion-failure line, for tests and for the exception edge.
BASTWICK_EXPORT QString assertionText(const char *condition, const char *function, const char *file, int line,
                                      const QString &detail);

// Runs fn; a Bastwick::Exception (or any std::exception) escaping it stops the
// program through the assertion macro. Used at queue and event-loop edges.
BASTWICK_EXPORT void runGuarded(const char *where, const std::function<void()> &fn);

} // namespace Bastwick

#define XXXAssert(condition, detail)                                                                         \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::Bastwick::assertionFailure(#condition, __func__, __FILE__, __LINE__, (detail));                \
    } while (false)

#define XXXParameterAssert(condition) XXXAssert(condition, QString())
