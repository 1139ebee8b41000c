#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayView>
#include <QtCore/QList>
#include <QtCore/QString>

#include <initializer_list>
#include <string>
#include <vector>

// The command text of the import file, the console and the key query, read and written
// byte for byte.
//
// Reading splits a line at every single blank (two blanks in a row give an empty
// argument). One addition: a token that begins with a double quote and whose first
// unescaped closing double quote is followed by a blank or the end of the line is one
// argument, decoded with the escapes \" \\ \n \r \t and \xHH; blanks inside it do not
// split. A token with an unknown escape or without such a closing quote is literal, so
// `SET k {"a":1}` reads as three arguments exactly as written.
//
// Writing leaves every argument that reads back unchanged as it is, and writes the rest
// (empty, white space at either end, a blank, a double quote, a backslash, a control
// byte, or bytes that are not valid UTF-8) in double quotes with those escapes, so a
// line written by joinLine() always splits back into the same arguments.
namespace DerazCommandLine {

// The arguments of one line. An empty line has no arguments. The caller trims the line
// first when it should (the console and the import do).
QList<QByteArray> split(const QByteArray &line);

// The same arguments without copying the line: each is a view into the line, or, for a
// quoted argument, into scratch, which receives the decoded ones. Both containers are
// cleared first and keep their room, so a caller that splits line after line with the
// same ones allocates nothing once they are large enough. The views stay valid while the
// line's bytes and scratch are left alone.
void splitInPlace(QByteArrayView line, std::vector<QByteArrayView> &arguments, std::string &scratch);

// One argument as command text: unchanged when it reads back as itself, else quoted.
QByteArray quote(const QByteArray &argument);

// The same, appended to out.
void appendQuoted(QByteArray &out, QByteArrayView argument);

// The arguments quoted and joined by single blanks, with no line end.
QByteArray joinLine(const QList<QByteArray> &arguments);

// The same followed by "\n", appended to out.
void appendLine(QByteArray &out, std::initializer_list<QByteArrayView> arguments);

// What a log line may show of a command: its first word and how many arguments follow
// it ("SET + 2 arguments"), never the arguments themselves (they may hold a password).
QString logSummary(const QList<QByteArray> &arguments);

} // namespace DerazCommandLine
