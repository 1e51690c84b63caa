#include "localization.h"

#include "hid_thread.h"
#include "languagechecksum.h"
#include "settingsfile.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>
#include <memory>

namespace
{

// Country numbers the language list marks with a script rather than a country name.
constexpr int kCountryNone = 0;
constexpr int kCountrySimplified = 44;   // QLocale::China
constexpr int kCountryTraditional = 208; // QLocale::Taiwan

const QString kSlotSection = QStringLiteral("Q7_5B7E20D/");

std::unique_ptr<QSettings> openLanguageFile(const QString& path)
{
    auto file = std::make_unique<QSettings>(SettingsFile::usablePath(path), QSettings::IniFormat);
    file->setIniCodec("UTF-8");
    return file;
}

} // namespace

Localization::Localization(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
}

bool Localization::isValidCode(const QString& code)
{
    static const QRegularExpression sixDigits(QStringLiteral("\\A[0-9]{6}\\z"));
    return sixDigits.match(code).hasMatch();
}

QString Localization::displayName(int language, int country)
{
    QString name = QLocale::languageToString(QLocale::Language(language)).toUpper();
    switch (country) {
    case kCountryNone:
        break;
    case kCountrySimplified:
        name += QStringLiteral(" (Simp)");
        break;
    case kCountryTraditional:
        name += QStringLiteral(" (Trad)");
        break;
    default:
        name += QStringLiteral(" (") +
                QLocale::countryToString(QLocale::Country(country)).toUpper() + QLatin1Char(')');
        break;
    }
    return name;
}

QString Localization::filePath(const QString& code) const
{
    if (!isValidCode(code))
        return {};
    return QDir(m_folder).filePath(QStringLiteral("lang_") + code + QStringLiteral(".ini"));
}

QVariantMap Localization::languages() const
{
    QVariantMap result;
    const QStringList files = QDir(m_folder).entryList(
        {QStringLiteral("lang_*.ini")}, QDir::Files | QDir::Readable | QDir::CaseSensitive,
        QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        // Only names the loader accepts are offered; a stray "lang_x.ini" would otherwise
        // appear in the list and load nothing.
        const QString code = file.mid(5, file.size() - 9);
        if (file.size() != 15 || !isValidCode(code))
            continue;
        const QString name = displayName(code.leftRef(3).toInt(), code.midRef(3).toInt());
        result.insert(name, code);
    }
    return result;
}

QStringList Localization::globalStrings(const QString& code)
{
    QStringList strings;
    QString stored;
    QString computed;
    m_msgStrings.clear();
    const QString path = filePath(code);
    if (path.isEmpty()) {
        for (int i = 0; i < kMessageCount; ++i)
            m_msgStrings.append(QString());
    } else {
        const auto file = openLanguageFile(path);
        strings.append(file->value(QStringLiteral("font/family")).toString());
        stored = file->value(QStringLiteral("font/cs")).toString();
        computed = LanguageChecksum::fromSum(LanguageChecksum::readStrings(*file, &strings));
        for (int i = 0; i < kMessageCount; ++i)
            m_msgStrings.append(file->value(QStringLiteral("msg/%1").arg(i)).toString());
    }
    // An invalid code loads nothing, so it never counts as a good file.
    m_checksumOk = !path.isEmpty() && stored == computed;
    languageChecksumOk = m_checksumOk;
    return strings;
}

QStringList Localization::productLayoutStrings(const QString& code) const
{
    QStringList names;
    const QString path = filePath(code);
    std::unique_ptr<QSettings> file;
    if (!path.isEmpty())
        file = openLanguageFile(path);
    for (int j = 0; j < kSlotCount; ++j)
        names.append(file ? file->value(kSlotSection + QString::number(j)).toString() : QString());
    return names;
}
