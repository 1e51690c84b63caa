#include "macrolibrary.h"

#include "atomicfile.h"
#include "dialogs.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace
{

const QString kExtension = QStringLiteral(".bin");
const QString kExchangeFilter = QStringLiteral("Macro(*.mc)");

QString desktop()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace

MacroLibrary::MacroLibrary(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
}

uint MacroLibrary::deviceId() const
{
    return m_deviceId ? m_deviceId() : kMouse;
}

bool MacroLibrary::isSafeName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.toUtf8().size() > kMaxNameBytes)
        return false;
    for (const QChar c : name) {
        // Separators of either platform; NUL and other control characters, which file systems
        // reject or which would make the name unprintable in a file dialog.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 ||
            c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QString MacroLibrary::filePath(const QString& name) const
{
    if (!isSafeName(name)) {
        qWarning().noquote() << "Macro name refused:" << name.toUtf8().toPercentEncoding(" ");
        return QString();
    }
    return m_folder + QLatin1Char('/') + name + kExtension;
}

bool MacroLibrary::exists(const QString& name) const
{
    const QString path = filePath(name);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString MacroLibrary::macroName(int n)
{
    return QStringLiteral("Macro. ") + QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

QStringList MacroLibrary::getMacroIniNames() const
{
    // The extension is matched exactly, as the operations open "<name>.bin": a file named
    // "X.BIN" would be listed but could be neither opened nor deleted.
    const QStringList files =
        QDir(m_folder).entryList({QStringLiteral("*") + kExtension},
                                 QDir::Files | QDir::CaseSensitive, QDir::Name | QDir::IgnoreCase);
    // For the same reason a file whose name the operations refuse (a control character, too
    // long) is left out.
    QStringList names;
    for (const QString& file : files) {
        if (isSafeName(file.left(file.size() - kExtension.size())))
            names.append(file);
    }
    return names;
}

QVariant MacroLibrary::createMacroIni()
{
    int n = 1;
    while (QFileInfo::exists(filePath(macroName(n))))
        ++n;
    const QString name = macroName(n);
    QDir().mkpath(m_folder);
    {
        QSettings file(filePath(name), QSettings::IniFormat);
        file.beginGroup(QStringLiteral("config"));
        file.setValue(QStringLiteral("index"), -1);
        file.setValue(QStringLiteral("total"), 0);
        file.setValue(QStringLiteral("repeat"), 1);
        file.setValue(QStringLiteral("did"), -1);
        file.endGroup();
        file.sync();
        if (file.status() != QSettings::NoError) {
            qWarning() << "Cannot create macro file" << file.fileName();
            return QString();
        }
    }
    return name;
}

QVariant MacroLibrary::deleteMacroIni(const QVariant& name)
{
    const QString n = name.toString();
    if (!exists(n))
        return false;
    return QFile::remove(filePath(n));
}

bool MacroLibrary::renameMacroIniFile(const QVariant& oldName, const QVariant& newName)
{
    const QString from = oldName.toString();
    const QString to = newName.toString();
    if (!isSafeName(to)) {
        Dialogs::instance().warning(m_dialogParent, tr("MACRO"),
                                    tr("This name cannot be used for a macro."));
        return false;
    }
    if (!exists(from))
        return false;
    // QFile::rename refuses an existing target, so a rename onto another macro keeps both.
    return QFile::rename(filePath(from), filePath(to));
}

QStringList MacroLibrary::loadMacroIni(const QVariant& name) const
{
    const QString n = name.toString();
    QStringList lines;
    if (!exists(n))
        return lines;
    QSettings file(filePath(n), QSettings::IniFormat);
    // The count comes from the file; a huge one must not make the program build millions
    // of empty lines.
    const int total = qMin(file.value(QStringLiteral("config/total"), 0).toInt(), kMaxLines);
    for (int i = 0; i < total; ++i)
        lines.append(file.value(QStringLiteral("macro/") + QString::number(i)).toString());
    return lines;
}

QVariant MacroLibrary::saveMacroIni(const QVariant& name, const QStringList& macros)
{
    const QString n = name.toString();
    if (!exists(n))
        return false;
    int index = -1;
    {
        QSettings file(filePath(n), QSettings::IniFormat);
        file.remove(QStringLiteral("macro"));
        file.setValue(QStringLiteral("config/total"), macros.size());
        for (int i = 0; i < macros.size(); ++i)
            file.setValue(QStringLiteral("macro/") + QString::number(i), macros.at(i));
        index = file.value(QStringLiteral("config/index"), -1).toInt();
        file.sync();
        // Lines that did not reach the disk are not saved: say so, and do not re-send the
        // old ones as if they were the new.
        if (file.status() == QSettings::AccessError) {
            qWarning() << "Cannot write macro file" << file.fileName();
            return false;
        }
    }
    // The device gets the new lines only after they are on disk: the re-send reads the file.
    if (index >= 0) {
        const uint did = deviceId();
        if (did == kMouse && index < kMouseSlots) {
            if (m_resendMouse)
                m_resendMouse(uchar(index + 1), n);
        } else if (did == kKeyboard && index < kKeyboardSlots) {
            if (m_resendKeyboard)
                m_resendKeyboard(uchar(index), n);
        }
    }
    return true;
}

QVariantList MacroLibrary::loadMacroIniConfig(const QVariant& name) const
{
    const QString n = name.toString();
    if (!exists(n))
        return {};
    QSettings file(filePath(n), QSettings::IniFormat);
    const int did = file.value(QStringLiteral("config/did"), -1).toInt();
    const int repeat = file.value(QStringLiteral("config/repeat"), 1).toInt();
    const int index = did >= 0 && uint(did) == deviceId()
                          ? file.value(QStringLiteral("config/index"), -1).toInt()
                          : -1;
    return {index, repeat};
}

void MacroLibrary::setMacroIniConfig(const QVariant& name, const QVariantList& config)
{
    const QString n = name.toString();
    // Both values are needed; a short list would otherwise write half an assignment.
    if (config.size() < 2 || !exists(n))
        return;
    QSettings file(filePath(n), QSettings::IniFormat);
    file.setValue(QStringLiteral("config/index"), config.at(0).toInt());
    file.setValue(QStringLiteral("config/repeat"), config.at(1).toInt());
    file.setValue(QStringLiteral("config/did"), int(deviceId()));
}

quint16 MacroLibrary::storedRepeat(const QVariant& name) const
{
    const QString n = name.toString();
    if (!exists(n))
        return 1;
    QSettings file(filePath(n), QSettings::IniFormat);
    return quint16(file.value(QStringLiteral("config/repeat"), 1).toUInt() & 0xFFFF);
}

bool MacroLibrary::loadMacroIniFromFile(const QVariant& name)
{
    const QString n = name.toString();
    if (filePath(n).isEmpty())
        return false;
    const QString source = Dialogs::instance().openFileName(m_dialogParent, tr("Open File"),
                                                            desktop(), kExchangeFilter);
    if (source.isEmpty() || !exists(n))
        return false;
    const QFileInfo info(source);
    if (!info.isFile()) {
        Dialogs::instance().warning(m_dialogParent, tr("MACRO"),
                                    tr("The chosen macro file cannot be read."));
        return false;
    }
    if (info.size() > kMaxImportBytes) {
        Dialogs::instance().warning(m_dialogParent, tr("MACRO"),
                                    tr("The chosen file is too large to be a macro."));
        return false;
    }
    QString error;
    // The macro keeps its old file until the new copy is complete.
    if (!AtomicFile::copy(source, filePath(n), kMaxImportBytes, &error)) {
        Dialogs::instance().warning(m_dialogParent, tr("MACRO"),
                                    tr("The macro could not be imported.") + QLatin1Char('\n') +
                                        error);
        return false;
    }
    return true;
}

bool MacroLibrary::saveMacroIniToFile(const QVariant& name)
{
    const QString n = name.toString();
    if (!exists(n))
        return false;
    const QString target = Dialogs::instance().saveFileName(m_dialogParent, tr("Save File"),
                                                            desktop(), kExchangeFilter);
    if (target.isEmpty())
        return false;
    QString error;
    // A file already at the target keeps its content unless the copy completes.
    if (!AtomicFile::copy(filePath(n), target, AtomicFile::kNoLimit, &error)) {
        Dialogs::instance().warning(m_dialogParent, tr("MACRO"),
                                    tr("The macro could not be exported.") + QLatin1Char('\n') +
                                        error);
        return false;
    }
    return true;
}
