#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

#include <initializer_list>

namespace Bastwick {

// The platform's description text of a value: strings as they are, numbers in their
// kind's form (integers plainly, doubles in the shortest form), the null marker as
// "<null>", arrays as "(\n    a,\n    b\n)" and dictionaries as
// "{\n    key = value;\n}" (nested ones indented by four more spaces), objects through
// a Q_INVOKABLE description() when they have one, else "<ClassName: 0x...>".
BASTWICK_EXPORT QString describe(const QVariant &value);

// A type-safe printf subset over QVariant arguments, as the design texts write them:
// %@ (describe), %d %i %ld %li %lld %qi %hi (signed), %u %lu %llu %qu %hu (unsigned),
// %f %1.1f %.2f ... (fixed, with width/precision), %e %g, %s (text), %c, %x %02x %X
// (hexadecimal), %p (pointer value, 0x-prefixed hex), %% (percent sign).
// An argument of the wrong kind is converted; a missing argument prints nothing.
// The format is always a literal of the program: user data is passed as an argument.
BASTWICK_EXPORT QString formatList(const char *format, const QVariantList &args);

template<class... Args> QString format(const char *fmt, const Args &...args)
{
    return formatList(fmt, QVariantList{QVariant::fromValue(args)...});
}
inline QString format(const char *fmt) { return formatList(fmt, {}); }

} // namespace Bastwick
