// Build tool: reads the command reference page and writes the statements that fill the
// seed database's DerazCommand table.
//
//   kestrune_cmdrows <derazCmd.html> <rows.sql>

#include <kestrune/exchange/DerazCommandReader.h>

#include <bastwick/FileManagerAdditions.h>

#include <QtCore/QFile>
#include <QtCore/QLoggingCategory>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrune_cmdrows <derazCmd.html> <rows.sql>\n");
        return 2;
    }
    // The reader's diagnostics (a line per item read) are for the application's log; the
    // build says only what failed.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kestrune_cmdrows: cannot read %s\n", argv[1]);
        return 1;
    }
    const QList<DerazCommandEntry> entries = DerazCommandReader::parse(in.readAll());
    if (entries.isEmpty()) {
        std::fprintf(stderr, "kestrune_cmdrows: no command found in %s\n", argv[1]);
        return 1;
    }
    QString reason;
    if (!Bastwick::writeFileAtomically(QString::fromLocal8Bit(argv[2]),
                                       DerazCommandReader::insertStatements(entries), &reason)) {
        std::fprintf(stderr, "kestrune_cmdrows: cannot write %s\n", qPrintable(reason));
        return 1;
    }
    return 0;
}
