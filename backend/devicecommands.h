#pragma once

#include <QString>
#include <QtGlobal>

// The device commands the bridge and the pointer settings issue, as one seam. The program
// forwards them to the transport object (HidDeviceCommands); tests record the calls and the
// bytes handed over, and script what the gets answer, without a transport underneath.
//
// Signatures and result rules are those of the transport's hid_ operations: set commands
// copy the caller's buffer before they return; a get that fails leaves its results as
// described per command there (most keep what the caller passed in).
class DeviceCommands
{
public:
    virtual ~DeviceCommands() = default;

    // Device record the commands address: 0 keyboard, 1 mouse.
    virtual uint currentDevice() const = 0;

    // --- commands both families understand ---
    virtual void hid_01H_SetReportRate(uchar rate) = 0;
    virtual void hid_02H_SetCurrentProfile(uchar profile) = 0;
    virtual void hid_80H_GetFWVersion(QString& version) = 0;
    virtual void hid_81H_GetReportRate(uchar& rate) = 0;
    virtual void hid_82H_GetCurrentProfile(uchar& profile) = 0;

    // --- mouse ---
    virtual void hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1,
                                           uchar option2) = 0;
    virtual void hid_0BH_SetCurrentDPIStage(uchar dpiStage) = 0;
    virtual void hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2) = 0;
    virtual void hid_10H_SetLED8StageColor(uchar type, uchar* src24) = 0;
    virtual void hid_11H_SetDPISet(uchar dpiStage, uchar* src8) = 0;
    virtual void hid_12H_SetKeyMatrix(uchar* src64) = 0;
    virtual void hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2) = 0;
    virtual bool hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2,
                                                uchar& option3) = 0;
    virtual bool hid_91H_GetDPISet(uchar& dpiMAXStage, uchar* src8) = 0;
    virtual void hid_92H_GetKeyMatrix(uchar* src64) = 0;
    virtual void hid_93H_GetMacroKey(uchar macroId, uchar* src128) = 0;

    // --- keyboard ---
    virtual void hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) = 0;
    virtual void hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3,
                                              uchar sens4) = 0;
    virtual void hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty) = 0;
    virtual void hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light,
                                    uchar color, uchar direction) = 0;
    virtual void hid_09H_SetKeyboardMode(uchar mode) = 0;
    virtual void hid_0DH_SetKeyMatrix(uchar* src512) = 0;
    virtual void hid_0EH_SetKeyOnOff(uchar* src21) = 0;
    virtual void hid_12H_SetUserPicture(uchar index, uchar option, uchar* src512) = 0;
    virtual void hid_13H_SetRecoveryData() = 0;
    virtual void hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue) = 0;
    virtual void hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3,
                                           uchar& byte4) = 0;
    virtual void hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3,
                                              uchar& sens4) = 0;
    virtual void hid_89H_GetKeyboardMode(uchar& mode) = 0;
    virtual void hid_8DH_GetKeyMatrix(uchar* src512) = 0;
    virtual void hid_8EH_GetKeyOnOff(uchar* src21) = 0;
    virtual void hid_91H_GetMacroKey(uchar macroId, uchar* src192) = 0;
};
