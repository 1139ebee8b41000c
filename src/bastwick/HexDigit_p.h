#pragma once

// Internal to the library: the value of one hexadecimal digit.

namespace Bastwick {

// 0-15 for "0"-"9", "a"-"f" and "A"-"F"; -1 for any other character.
constexpr int hexDigitValue(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return int(c - U'0');
    if (c >= U'a' && c <= U'f')
        return int(c - U'a') + 10;
    if (c >= U'A' && c <= U'F')
        return int(c - U'A') + 10;
    return -1;
}

} // namespace Bastwick
