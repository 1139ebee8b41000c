#pragma once

// The folder a screenshot program writes its pictures to: its one argument.

#include <QtCore/QDir>

#include <cstdio>
#include <optional>

namespace AppShots {

// The folder named by the only argument; without it, prints the usage and answers none.
inline std::optional<QDir> shotFolder(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return std::nullopt;
    }
    return QDir(QString::fromLocal8Bit(argv[1]));
}

} // namespace AppShots
