#pragma once

#include "devicecommands.h"

class Hid_Thread;

// Forwards every command to the transport object. Without one (no device attached yet)
// sets are dropped and gets leave their results as the caller passed them, which is what
// the transport itself does when it cannot claim the device; the commands then address the
// mouse, the record the transport starts with.
class HidDeviceCommands : public DeviceCommands
{
public:
    explicit HidDeviceCommands(Hid_Thread* hid = nullptr) : m_hid(hid) {}

    void setHid(Hid_Thread* hid) { m_hid = hid; }
    Hid_Thread* hid() const { return m_hid; }

    uint currentDevice() const override;

    void hid_01H_SetReportRate(uchar rate) override;
    void hid_02H_SetCurrentProfile(uchar profile) override;
    void hid_80H_GetFWVersion(QString& version) override;
    void hid_81H_GetReportRate(uchar& rate) override;
    void hid_82H_GetCurrentProfile(uchar& profile) override;

    void hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2) override;
    void hid_0BH_SetCurrentDPIStage(uchar dpiStage) override;
    void hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2) override;
    void hid_10H_SetLED8StageColor(uchar type, uchar* src24) override;
    void hid_11H_SetDPISet(uchar dpiStage, uchar* src8) override;
    void hid_12H_SetKeyMatrix(uchar* src64) override;
    void hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2) override;
    bool hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2,
                                        uchar& option3) override;
    bool hid_91H_GetDPISet(uchar& dpiMAXStage, uchar* src8) override;
    void hid_92H_GetKeyMatrix(uchar* src64) override;
    void hid_93H_GetMacroKey(uchar macroId, uchar* src128) override;

    void hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) override;
    void hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4) override;
    void hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty) override;
    void hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                            uchar direction) override;
    void hid_09H_SetKeyboardMode(uchar mode) override;
    void hid_0DH_SetKeyMatrix(uchar* src512) override;
    void hid_0EH_SetKeyOnOff(uchar* src21) override;
    void hid_12H_SetUserPicture(uchar index, uchar option, uchar* src512) override;
    void hid_13H_SetRecoveryData() override;
    void hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue) override;
    void hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4) override;
    void hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3,
                                      uchar& sens4) override;
    void hid_89H_GetKeyboardMode(uchar& mode) override;
    void hid_8DH_GetKeyMatrix(uchar* src512) override;
    void hid_8EH_GetKeyOnOff(uchar* src21) override;
    void hid_91H_GetMacroKey(uchar macroId, uchar* src192) override;

private:
    Hid_Thread* m_hid = nullptr;
};
