#pragma once

#include "hiddevicecommands.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

class Hid_Thread;
class ProfileStore;

// Turns the UI's value lists into device commands and back. Every setter keeps a copy of
// what it sends in the current profile slot first and then sends it, so a failed exchange
// still leaves the user's choice in the profile; several getters answer from the profile
// rather than the device.
//
// Works without a profile store (nothing is kept, getters give their defaults) and without
// a transport (nothing is sent, device reads give their presets).
class DeviceBridge : public QObject
{
    Q_OBJECT
public:
    explicit DeviceBridge(ProfileStore* profiles, QObject* parent = nullptr);

    // The transport the commands go to; nullptr detaches it.
    void setHid(Hid_Thread* hid);
    // Replaces the transport by another command sink (not owned); nullptr restores the
    // transport.
    void setCommands(DeviceCommands* commands);
    DeviceCommands* commands() const { return m_commands; }

    // --- list and byte conversions ---
    // Fills buf[0..size) from the list: each entry as an integer (numeric text by its
    // decimal value), low 8 bits. Missing entries give 0, extra entries are ignored.
    static void listToBytes(const QVariantList& list, uchar* buf, int size);
    // n bytes as a list of n integers 0..255.
    static QVariantList bytesToList(const uchar* buf, int n);
    // Packs eight colour indexes (one per byte) two to a byte into buf[0..3]: byte k holds
    // the index of stage 2k+1 in its low nibble and of stage 2k+2 in its high nibble.
    static void packStageIndexes(uchar* buf);

    // --- set operations ---
    void ui_01H_SetReportRate(uchar rate);
    void ui_02H_SetCurrentProfile(int profile);
    void ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4);
    void ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                           uchar direction);
    void ui_09H_SetKeyboardMode(uchar mode);
    void ui_0BH_SetCurrentDPIStage(uchar dpiStage);
    void ui_0DH_SetKeyMatrix(const QVariantList& src512);
    void ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2,
                                const QVariantList& configs);
    void ui_0EH_SetKeyOnOff(const QVariantList& src21);
    void ui_10H_SetLED8StageColor(uchar type, const QVariantList& src24);
    void ui_11H_SetDPISet(uchar dpiStage, const QVariantList& src8,
                          const QVariantList& valueForIndex);
    void ui_12H_SetUserPicture(uchar index, uchar option, const QVariantList& src512);
    void ui_12H_SetKeyMatrix(const QVariantList& src64);
    void ui_13H_SetRecoveryData();
    void ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);

    // --- get operations ---
    QString ui_80H_GetFWVersion();
    QVariant ui_81H_GetReportRate();
    QVariant ui_82H_GetCurrentProfile();
    QVariantList ui_83H_GetKeyboardoption();
    QVariantList ui_84H_GetButtonSensitivity();
    QVariantList ui_88H_GetLEDType();
    QVariant ui_89H_GetKeyboardMode();
    QVariant ui_8BH_GetCurrentDPIStage();
    QVariantList ui_8DH_GetKeyMatrix();
    QVariantList ui_8DH_GetRGBLedEffect();
    QVariantList ui_8EH_GetKeyOnOff();
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    QVariantList ui_91H_GetMacroKey(uchar macroId);
    QVariantList ui_91H_GetDPISet();
    uchar ui_91H_SyncDPI();
    QVariantList ui_92H_GetUserPicture(uchar index);
    QVariantList ui_92H_GetKeyMatrix();
    QVariantList ui_93H_GetMacroKey(uchar macroId);
    QVariantList ui_94H_GetColor(uchar index);
    QVariant getSensorType();
    bool chkIsLogoLedWork();

private:
    void store(const QString& key, const QVariant& value);
    QVariant stored(const QString& key, const QVariant& defaultValue = QVariant()) const;
    QVariantList storedStrings(const QString& key) const;
    QVariantList storedUnsigned(const QString& key) const;
    // Stores list entries 4n..4n+3 under prefix + n for n = 0..groups-1.
    void storeGroupsOfFour(const QString& prefix, const QVariantList& list, int groups);

    ProfileStore* m_profiles = nullptr;
    HidDeviceCommands m_hidCommands;
    DeviceCommands* m_commands = &m_hidCommands;
};
