#include "devicebridge.h"

#include "profilestore.h"

#include <QDebug>
#include <QStringList>
#include <cstring>

namespace
{

// Device records the commands may address.
constexpr uint kKeyboard = 0;
constexpr uint kMouse = 1;

// The mouse offers at most eight resolution stages.
constexpr uchar kMaxDpiStages = 8;

// Keys of the keyboard matrix kept in the profile: 126 of the 128 the command carries.
constexpr int kKeyboardKeysStored = 126;
constexpr int kMouseButtons = 16;

// The longest list a page keeps in the profile: a user picture, 512 bytes. A longer list, or
// an entry that is a long text or a nested container, is not a setting the device could use;
// stored as it came, it would grow the profile without bound (rewritten on every change, and
// too large to import again once exported).
constexpr int kMaxStoredEntries = 512;
constexpr int kMaxStoredEntryChars = 32;

// A list the document passed, cut to what the profile can sensibly keep: entries past the
// limit are dropped, an unusable entry becomes 0 (what a missing entry reads as). Entries
// that are fine keep their kind.
QVariant boundedForProfile(const QVariant& value)
{
    if (value.userType() != QMetaType::QVariantList)
        return value;
    QVariantList list = value.toList().mid(0, kMaxStoredEntries);
    for (QVariant& entry : list) {
        const int type = entry.userType();
        if (type == QMetaType::QVariantList || type == QMetaType::QVariantMap ||
            type == QMetaType::QVariantHash || type == QMetaType::QStringList ||
            entry.toString().size() > kMaxStoredEntryChars)
            entry = 0;
    }
    return list;
}

} // namespace

DeviceBridge::DeviceBridge(ProfileStore* profiles, QObject* parent)
    : QObject(parent), m_profiles(profiles)
{
}

void DeviceBridge::setHid(Hid_Thread* hid)
{
    m_hidCommands.setHid(hid);
}

void DeviceBridge::setCommands(DeviceCommands* commands)
{
    m_commands = commands ? commands : &m_hidCommands;
}

// --- conversions ---

void DeviceBridge::listToBytes(const QVariantList& list, uchar* buf, int size)
{
    std::memset(buf, 0, size_t(size));
    const int n = qMin(size, list.size());
    for (int i = 0; i < n; ++i)
        buf[i] = uchar(list.at(i).toInt() & 0xFF);
}

QVariantList DeviceBridge::bytesToList(const uchar* buf, int n)
{
    QVariantList list;
    list.reserve(n);
    for (int i = 0; i < n; ++i)
        list.append(int(buf[i]));
    return list;
}

void DeviceBridge::packStageIndexes(uchar* buf)
{
    // In place is safe: byte k is written after bytes 2k and 2k+1 (k <= 2k) were read.
    for (int k = 0; k < 4; ++k)
        buf[k] = uchar((buf[2 * k] & 0x0F) | (buf[2 * k + 1] << 4));
}

// --- profile access ---

void DeviceBridge::store(const QString& key, const QVariant& value)
{
    if (m_profiles)
        m_profiles->setValue(key, boundedForProfile(value));
}

QVariant DeviceBridge::stored(const QString& key, const QVariant& defaultValue) const
{
    return m_profiles ? m_profiles->value(key, defaultValue) : defaultValue;
}

QVariantList DeviceBridge::storedStrings(const QString& key) const
{
    // A list read from the file comes back as texts, one written during the run with the
    // kinds it was written with; toStringList() gives texts in both cases and also takes a
    // one-entry list, which the file holds as a plain value.
    QVariantList out;
    for (const QString& s : stored(key).toStringList())
        out.append(s);
    return out;
}

QVariantList DeviceBridge::storedUnsigned(const QString& key) const
{
    QVariantList out;
    for (const QString& s : stored(key).toStringList())
        out.append(s.trimmed().toUInt());
    return out;
}

void DeviceBridge::storeGroupsOfFour(const QString& prefix, const QVariantList& list, int groups)
{
    for (int n = 0; n < groups; ++n) {
        QVariantList entry;
        for (int j = 0; j < 4; ++j)
            entry.append(list.value(4 * n + j, 0));
        store(prefix + QString::number(n), entry);
    }
}

// --- set operations ---

void DeviceBridge::ui_01H_SetReportRate(uchar rate)
{
    // The profile keeps the mouse's rate only; the keyboard's is not a profile value.
    if (m_commands->currentDevice() == kMouse)
        store(QStringLiteral("sensor/reportRate_Q7"), uint(rate));
    m_commands->hid_01H_SetReportRate(rate);
}

void DeviceBridge::ui_02H_SetCurrentProfile(int profile)
{
    if (!m_profiles || profile == m_profiles->currentProfile())
        return;
    if (!m_profiles->setCurrentProfile(profile)) {
        qDebug() << "ui_02H_SetCurrentProfile: no profile slot" << profile;
        return;
    }
    // The mouse learns of a switch only through the settings the pages apply afterwards.
    if (m_commands->currentDevice() == kKeyboard)
        m_commands->hid_02H_SetCurrentProfile(uchar(profile & 0xFF));
}

void DeviceBridge::ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    m_commands->hid_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

void DeviceBridge::ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4)
{
    m_commands->hid_04H_SetButtonSensitivity(sens1, sens2, sens3, sens4);
}

void DeviceBridge::ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty)
{
    m_commands->hid_07H_SetControlIndicatorLight(effect, frequenty);
}

void DeviceBridge::ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light,
                                     uchar color, uchar direction)
{
    store(QStringLiteral("color/ledType"),
          QVariantList{uint(effect), uint(speed), uint(light), uint(color), uint(direction)});
    m_commands->hid_08H_SetLEDType(option, effect, speed, light, color, direction);
}

void DeviceBridge::ui_09H_SetKeyboardMode(uchar mode)
{
    m_commands->hid_09H_SetKeyboardMode(mode);
}

void DeviceBridge::ui_0BH_SetCurrentDPIStage(uchar dpiStage)
{
    store(QStringLiteral("sensor/stage_Q7"), uint(dpiStage));
    m_commands->hid_0BH_SetCurrentDPIStage(dpiStage);
}

void DeviceBridge::ui_0DH_SetKeyMatrix(const QVariantList& src512)
{
    // The last two keys' entries (504..511) are sent but have no profile key.
    storeGroupsOfFour(QStringLiteral("keydefine/"), src512, kKeyboardKeysStored);
    uchar buf[512];
    listToBytes(src512, buf, sizeof buf);
    m_commands->hid_0DH_SetKeyMatrix(buf);
}

void DeviceBridge::ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2,
                                          const QVariantList& configs)
{
    // configs is the lighting page's own record of its controls; it is not sent.
    store(QStringLiteral("color_Q7/ledEffect"), configs);
    m_commands->hid_0DH_SetRGBLedEffect(effect, option1, option2);
}

void DeviceBridge::ui_0EH_SetKeyOnOff(const QVariantList& src21)
{
    uchar buf[21];
    listToBytes(src21, buf, sizeof buf);
    m_commands->hid_0EH_SetKeyOnOff(buf);
}

void DeviceBridge::ui_10H_SetLED8StageColor(uchar type, const QVariantList& src24)
{
    store(QStringLiteral("color_Q7/type") + QString::number(type), src24);
    uchar buf[24];
    listToBytes(src24, buf, sizeof buf);
    if (type == 2)
        packStageIndexes(buf);
    m_commands->hid_10H_SetLED8StageColor(type, buf);
}

void DeviceBridge::ui_11H_SetDPISet(uchar dpiStage, const QVariantList& src8,
                                    const QVariantList& valueForIndex)
{
    store(QStringLiteral("sensor/dpi_Q7"), valueForIndex);
    uchar buf[8];
    listToBytes(src8, buf, sizeof buf);
    m_commands->hid_11H_SetDPISet(dpiStage, buf);
}

void DeviceBridge::ui_12H_SetUserPicture(uchar index, uchar option, const QVariantList& src512)
{
    store(QStringLiteral("userPicture/") + QString::number(index), src512);
    // Option 255 keeps the picture in the profile without sending it.
    if (option == 255)
        return;
    uchar buf[512];
    listToBytes(src512, buf, sizeof buf);
    m_commands->hid_12H_SetUserPicture(index, option, buf);
}

void DeviceBridge::ui_12H_SetKeyMatrix(const QVariantList& src64)
{
    storeGroupsOfFour(QStringLiteral("keydefine_Q7/"), src64, kMouseButtons);
    uchar buf[64];
    listToBytes(src64, buf, sizeof buf);
    m_commands->hid_12H_SetKeyMatrix(buf);
}

void DeviceBridge::ui_13H_SetRecoveryData()
{
    m_commands->hid_13H_SetRecoveryData();
}

void DeviceBridge::ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue)
{
    store(QStringLiteral("color/") + QString::number(index),
          QVariantList{uint(rValue), uint(gValue), uint(bValue)});
    m_commands->hid_14H_SetColor(index, rValue, gValue, bValue);
}

// --- get operations ---

QString DeviceBridge::ui_80H_GetFWVersion()
{
    QString version;
    m_commands->hid_80H_GetFWVersion(version);
    return version;
}

QVariant DeviceBridge::ui_81H_GetReportRate()
{
    const uint device = m_commands->currentDevice();
    if (device == kKeyboard) {
        uchar rate = 0;
        m_commands->hid_81H_GetReportRate(rate);
        return int(rate);
    }
    if (device == kMouse)
        return int(stored(QStringLiteral("sensor/reportRate_Q7"), 0).toUInt() & 0xFF);
    return 0;
}

QVariant DeviceBridge::ui_82H_GetCurrentProfile()
{
    uchar profile = 0;
    m_commands->hid_82H_GetCurrentProfile(profile);
    return int(profile);
}

QVariantList DeviceBridge::ui_83H_GetKeyboardoption()
{
    uchar b[4] = {};
    m_commands->hid_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    return bytesToList(b, 4);
}

QVariantList DeviceBridge::ui_84H_GetButtonSensitivity()
{
    uchar s[4] = {};
    m_commands->hid_84H_GetButtonSensitivity(s[0], s[1], s[2], s[3]);
    return bytesToList(s, 4);
}

QVariantList DeviceBridge::ui_88H_GetLEDType()
{
    return stored(QStringLiteral("color/ledType")).toList();
}

QVariant DeviceBridge::ui_89H_GetKeyboardMode()
{
    uchar mode = 0;
    m_commands->hid_89H_GetKeyboardMode(mode);
    return int(mode);
}

QVariant DeviceBridge::ui_8BH_GetCurrentDPIStage()
{
    return int(stored(QStringLiteral("sensor/stage_Q7"), 0).toUInt() & 0xFF);
}

QVariantList DeviceBridge::ui_8DH_GetKeyMatrix()
{
    uchar buf[512] = {};
    m_commands->hid_8DH_GetKeyMatrix(buf);
    return bytesToList(buf, sizeof buf);
}

QVariantList DeviceBridge::ui_8DH_GetRGBLedEffect()
{
    return storedUnsigned(QStringLiteral("color_Q7/ledEffect"));
}

QVariantList DeviceBridge::ui_8EH_GetKeyOnOff()
{
    uchar buf[21] = {};
    m_commands->hid_8EH_GetKeyOnOff(buf);
    return bytesToList(buf, sizeof buf);
}

QVariantList DeviceBridge::ui_90H_GetLED8StageColor(uchar type)
{
    return storedUnsigned(QStringLiteral("color_Q7/type") + QString::number(type));
}

QVariantList DeviceBridge::ui_91H_GetMacroKey(uchar macroId)
{
    uchar buf[192] = {};
    m_commands->hid_91H_GetMacroKey(macroId, buf);
    return bytesToList(buf, sizeof buf);
}

QVariantList DeviceBridge::ui_91H_GetDPISet()
{
    return storedStrings(QStringLiteral("sensor/dpi_Q7"));
}

uchar DeviceBridge::ui_91H_SyncDPI()
{
    uchar stages = 0;
    uchar codes[8] = {};
    if (!m_commands->hid_91H_GetDPISet(stages, codes))
        return kMaxDpiStages;
    // The sensor page builds one row per stage from this count; a count it cannot show
    // (0, or a byte that was never unscrambled) falls back to all eight stages.
    if (stages < 1 || stages > kMaxDpiStages)
        return kMaxDpiStages;
    return stages;
}

QVariantList DeviceBridge::ui_92H_GetUserPicture(uchar index)
{
    return storedStrings(QStringLiteral("userPicture/") + QString::number(index));
}

QVariantList DeviceBridge::ui_92H_GetKeyMatrix()
{
    uchar buf[64] = {};
    m_commands->hid_92H_GetKeyMatrix(buf);
    return bytesToList(buf, sizeof buf);
}

QVariantList DeviceBridge::ui_93H_GetMacroKey(uchar macroId)
{
    uchar buf[128] = {};
    m_commands->hid_93H_GetMacroKey(macroId, buf);
    return bytesToList(buf, sizeof buf);
}

QVariantList DeviceBridge::ui_94H_GetColor(uchar index)
{
    return storedStrings(QStringLiteral("color/") + QString::number(index));
}

QVariant DeviceBridge::getSensorType()
{
    uchar type = 0, option1 = 0, option2 = 0;
    m_commands->hid_83H_GetFunctionOption(type, option1, option2);
    return int(type);
}

bool DeviceBridge::chkIsLogoLedWork()
{
    uchar option1 = 0, option2 = 0, option3 = 0;
    return m_commands->hid_87H_GetLEDInstructFunction(0, option1, option2, option3) && option1 == 0;
}
