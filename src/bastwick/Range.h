#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QtGlobal>

namespace Bastwick {

// A location and a length (the platform's NSRange), in UTF-16 units for texts.
// kNotFound is the location of something that was not found.
struct BASTWICK_EXPORT Range
{
    Q_GADGET
    Q_PROPERTY(qint64 location MEMBER location)
    Q_PROPERTY(qint64 length MEMBER length)

public:
    static constexpr qint64 kNotFound = -1;

    qint64 location = 0;
    qint64 length = 0;

    constexpr Range() = default;
    constexpr Range(qint64 loc, qint64 len)
        : location(loc)
        , length(len)
    {
    }

    // One past the last position.
    constexpr qint64 end() const { return location + length; }
    constexpr bool contains(qint64 position) const { return position >= location && position < end(); }
    constexpr bool isFound() const { return location != kNotFound; }

    friend constexpr bool operator==(const Range &a, const Range &b)
    {
        return a.location == b.location && a.length == b.length;
    }
    friend constexpr bool operator!=(const Range &a, const Range &b) { return !(a == b); }
};

} // namespace Bastwick

Q_DECLARE_METATYPE(Bastwick::Range)
