#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>

// One entry of the command reference.
struct DerazCommandEntry
{
    QString groupName;
    QString command;
    QString args;
    QString href;
    QString desc;

    bool operator==(const DerazCommandEntry &other) const = default;
};

// Reads the command reference page: one entry per li element, which carries its group
// in "data-group" and holds a first span (the last a in it: link and name; the last span
// nested in it: the syntax) and, as its third span, the summary. An li that lacks any of
// these is skipped with one log line.
namespace DerazCommandReader {

QList<DerazCommandEntry> parse(const QByteArray &utf8Html);
// The syntax as stored: trimmed, split into lines, each line trimmed, joined by blanks.
QString joinSyntax(const QString &syntax);
// The entries as SQL statements inserting rows into the DerazCommand table (literals with
// their quotes doubled).
QByteArray insertStatements(const QList<DerazCommandEntry> &entries);

} // namespace DerazCommandReader
