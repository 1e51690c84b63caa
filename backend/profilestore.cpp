#include "profilestore.h"

#include "atomicfile.h"
#include "dialogs.h"
#include "settingsfile.h"

#include <QDebug>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>

namespace
{

constexpr int kMouseButtons = 16;
constexpr int kPictureBytes = 512;
constexpr uchar kSyncedPictures = 5;

constexpr uint kKeyboardDevice = 0;
constexpr uint kMouseDevice = 1;

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace

ProfileStore::ProfileStore(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
    for (int i = 0; i < kSlots; ++i)
        m_slots.append(
            new QSettings(SettingsFile::usablePath(slotFilePath(i)), QSettings::IniFormat));
}

ProfileStore::~ProfileStore()
{
    qDeleteAll(m_slots);
}

bool ProfileStore::setCurrentProfile(int profile)
{
    if (profile < 0 || profile >= kSlots)
        return false;
    m_current = profile;
    return true;
}

QSettings* ProfileStore::slot(int i) const
{
    return (i >= 0 && i < m_slots.size()) ? m_slots.at(i) : nullptr;
}

QVariant ProfileStore::value(const QString& key, const QVariant& defaultValue) const
{
    return current()->value(key, defaultValue);
}

void ProfileStore::setValue(const QString& key, const QVariant& value)
{
    current()->setValue(key, value);
}

QString ProfileStore::slotFilePath(int i) const
{
    if (i < 0 || i >= kSlots)
        return QString();
    return m_folder + QStringLiteral("/p") + QString::number(i + 1) + QStringLiteral(".bin");
}

QString ProfileStore::defaultFilePath() const
{
    return m_folder + QStringLiteral("/pD.bin");
}

QVariantList ProfileStore::loadDefaultProfile(uchar uiPageId) const
{
    QVariantList result;
    if (uiPageId != ButtonPage && uiPageId != LightingPage && uiPageId != SensorPage)
        return result;

    const QSettings defaults(SettingsFile::usablePath(defaultFilePath()), QSettings::IniFormat);
    // A list key read from the file yields strings; a missing key adds nothing.
    const auto appendList = [&](const QString& key) { result += defaults.value(key).toList(); };
    const auto appendInt = [&](const QString& key, int pageDefault) {
        result.append(defaults.value(key, pageDefault).toInt());
    };

    switch (uiPageId) {
    case ButtonPage:
        for (int n = 0; n < kMouseButtons; ++n)
            appendList(QStringLiteral("keydefine_Q7/") + QString::number(n));
        break;
    case LightingPage:
        appendList(QStringLiteral("color_Q7/type0"));
        appendList(QStringLiteral("color_Q7/ledEffect"));
        break;
    case SensorPage:
        appendInt(QStringLiteral("sensor/reportRate_Q7"), 2);
        appendInt(QStringLiteral("sensor/cursorSpeed_Q7"), 5);
        appendInt(QStringLiteral("sensor/verticalScrollLines_Q7"), 2);
        appendInt(QStringLiteral("sensor/doubleClickSpeed_Q7"), 5);
        appendList(QStringLiteral("sensor/dpi_Q7"));
        appendInt(QStringLiteral("sensor/stage_Q7"), 2);
        appendList(QStringLiteral("color_Q7/type1"));
        appendList(QStringLiteral("color_Q7/type2"));
        break;
    }
    return result;
}

bool ProfileStore::importProfile(int profile, QWidget* dialogParent)
{
    if (!slot(profile))
        return false;
    const QString path = Dialogs::instance().openFileName(dialogParent, tr("Open File"),
                                                          desktopFolder(), tr("Profile(*.pf)"));
    if (path.isEmpty())
        return false;
    QString error;
    if (!replaceSlot(profile, path, kMaxImportSize, &error)) {
        qWarning().noquote() << "loadProfile:" << error;
        showFileWarning(m_messages, path);
        return false;
    }
    return true;
}

bool ProfileStore::exportProfile(int profile, QWidget* dialogParent)
{
    QSettings* settings = slot(profile);
    if (!settings)
        return false;
    const QString path = Dialogs::instance().saveFileName(dialogParent, tr("Save File"),
                                                          desktopFolder(), tr("Profile(*.pf)"));
    if (path.isEmpty())
        return false;
    // The export carries what the user has set so far, not only what reached the disk.
    settings->sync();
    const QString source = slotFilePath(profile);
    QString error;
    // A slot never written has no file yet; it reads as an empty profile, and so does the
    // empty file exported for it.
    const bool ok = QFileInfo::exists(source)
                        ? AtomicFile::copy(source, path, AtomicFile::kNoLimit, &error)
                        : AtomicFile::write(path, QByteArray(), &error);
    if (!ok) {
        qWarning().noquote() << "saveProfile:" << error;
        showFileWarning(m_messages, path);
    }
    return ok;
}

bool ProfileStore::resetProfile(int profile)
{
    if (!slot(profile))
        return false;
    QString error;
    if (!replaceSlot(profile, defaultFilePath(), AtomicFile::kNoLimit, &error)) {
        qWarning().noquote() << "resetProfile:" << error;
        return false;
    }
    return true;
}

bool ProfileStore::replaceSlot(int profile, const QString& source, qint64 maxSize, QString* error)
{
    QSettings* old = m_slots.at(profile);
    // Flush first: once the file is replaced, the old object must have nothing pending that
    // it could write over the new content when it is destroyed.
    old->sync();
    if (!AtomicFile::copy(source, slotFilePath(profile), maxSize, error))
        return false;
    m_slots[profile] =
        new QSettings(SettingsFile::usablePath(slotFilePath(profile)), QSettings::IniFormat);
    delete old;
    emit slotReplaced(profile);
    return true;
}

QVariantList ProfileStore::keydefine(const QVariant& matrixId, uint device) const
{
    QString family;
    if (device == kKeyboardDevice)
        family = QStringLiteral("keydefine/");
    else if (device == kMouseDevice)
        family = QStringLiteral("keydefine_Q7/");
    else
        return {};
    const QVariantList stored = value(family + matrixId.toString()).toList();
    QVariantList result;
    result.reserve(stored.size());
    for (const QVariant& v : stored)
        result.append(v.toString());
    return result;
}

void ProfileStore::syncFW(uint device, const PictureReader& readPicture)
{
    if (device != kKeyboardDevice || !readPicture)
        return;
    uchar buffer[kPictureBytes];
    for (uchar index = 0; index < kSyncedPictures; ++index) {
        // Zeroed before every read: a read that fails must not store the previous
        // picture's bytes under this index.
        std::memset(buffer, 0, sizeof buffer);
        readPicture(index, buffer);
        QVariantList picture;
        picture.reserve(kPictureBytes);
        for (uchar b : buffer)
            picture.append(int(b));
        setValue(QStringLiteral("userPicture/") + QString::number(index), picture);
    }
}
