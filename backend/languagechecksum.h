#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The check value of a language file's general texts ("font/cs"). Kept apart from
// Localization so the tool that writes the shipped files computes it with this very code.
namespace LanguageChecksum
{

// Upper bound on "font/total". The shipped files hold 116 texts; a damaged or hostile file
// must not make the loader build a list of billions of entries.
constexpr int kMaxStrings = 4096;

// The check text for a sum R of text lengths: the decimal forms of (R + 74), (R - 69),
// (R * 70) and (R / 70), each cut to its low 8 bits, written one after the other.
QString fromSum(quint32 r);

// Reads "font/total" and the texts "strings/1".."strings/N" of an open language file.
// Appends the texts to *strings (when given) and returns R, the sum of their lengths in
// UTF-16 code units. N below 1 reads nothing; N above kMaxStrings reads kMaxStrings texts.
quint32 readStrings(const QSettings& file, QStringList* strings);

// The check text the file's texts call for.
QString ofFile(const QSettings& file);

} // namespace LanguageChecksum
