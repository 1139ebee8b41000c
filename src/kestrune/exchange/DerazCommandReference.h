#pragma once

#include <QtCore/QString>

// Reads the shipped command reference page (":/derazCmd.html", or the given file) and
// stores one DerazCommand row per command in the open local database, one row at a time.
// The shipped seed database already holds these rows (the build reads the same page);
// this refills a store that lost them. Answers the number of rows stored.
int derazCmdParse(const QString &path = QStringLiteral(":/derazCmd.html"));
