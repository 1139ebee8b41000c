#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtGui/QIcon>

namespace Kestrune {

// Makes the data library's resources (type images, the sample-data word list) available;
// called by the loaders below, safe to call more than once and from any thread.
void initDataResources();

// The resource path of the sample-data word list.
QString magicDataPath();

// The words of a word-list text: the first capture of every match of (\w+)(\s*).
QStringList wordsFromText(const QString &text);

// The sample-data words from the word list "magicData.strings" (empty when it is missing
// or holds no words); read once and kept.
QStringList magicDataWords();

// An image of the data library by name ("Deraz-String" ...); a null icon when missing.
QIcon dataImage(const QString &name);

} // namespace Kestrune
