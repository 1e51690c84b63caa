#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

// Language files "lang_<code>.ini" in one folder: which exist, their strings, their
// checksum, and the message texts of the loaded language.
class Localization : public QObject
{
    Q_OBJECT
public:
    // folder: the language folder, "./modules/i18n" in the program.
    explicit Localization(const QString& folder, QObject* parent = nullptr);

    // Message texts of the loaded language; empty before any language is loaded.
    const QStringList& msgStrings() const { return m_msgStrings; }
    // Message i, or an empty text when there is none.
    QString msg(int i) const { return m_msgStrings.value(i); }

    QString folder() const { return m_folder; }

protected:
    QString m_folder;
    QStringList m_msgStrings;
};
