#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

class QSettings;

// Language files "lang_<code>.ini" in one folder: which exist, their strings, their
// checksum, and the message texts of the loaded language.
//
// A code is six decimal digits: a language number and a country number of QLocale's
// numbering, three digits each. Because a code becomes part of a file name, anything else
// is refused before a path is built.
class Localization : public QObject
{
    Q_OBJECT
public:
    // Number of message texts every loaded language supplies.
    static constexpr int kMessageCount = 6;
    // Number of button-slot names of the mouse.
    static constexpr int kSlotCount = 16;

    // folder: the language folder, "./modules/i18n" in the program.
    explicit Localization(const QString& folder, QObject* parent = nullptr);

    // Message texts of the loaded language; empty before any language is loaded.
    const QStringList& msgStrings() const { return m_msgStrings; }
    // Message i, or an empty text when there is none.
    QString msg(int i) const { return m_msgStrings.value(i); }

    QString folder() const { return m_folder; }

    // Display name -> code for every language file in the folder. Entries come out sorted
    // by display name, which is the order of the language list in the settings page.
    QVariantMap languages() const;

    // Entry 0 the language's font family, entries 1..N its general texts. Replaces the
    // message texts and sets the process-wide languageChecksumOk to whether the texts
    // match the file's "font/cs". An invalid code gives an empty list, six empty messages
    // and a failed check, and no file is opened.
    QStringList globalStrings(const QString& code);

    // Exactly kSlotCount names of the mouse's button slots, empty where the file has none.
    QStringList productLayoutStrings(const QString& code) const;

    // Result of the last globalStrings() check; true before any language is loaded.
    bool checksumOk() const { return m_checksumOk; }

    // True when code is exactly six ASCII digits.
    static bool isValidCode(const QString& code);
    // "CHINESE (Simp)", "CHINESE (Trad)", "GERMAN", "FRENCH (CANADA)", ...
    static QString displayName(int language, int country);
    // Path of the file of a valid code; empty for an invalid one.
    QString filePath(const QString& code) const;

private:
    QString m_folder;
    QStringList m_msgStrings;
    bool m_checksumOk = true;
};
