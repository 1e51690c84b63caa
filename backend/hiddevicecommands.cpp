#include "hiddevicecommands.h"

#include "hid_thread.h"

uint HidDeviceCommands::currentDevice() const
{
    return m_hid ? m_hid->currentDevice : 1u;
}

void HidDeviceCommands::hid_01H_SetReportRate(uchar rate)
{
    if (m_hid)
        m_hid->hid_01H_SetReportRate(rate);
}

void HidDeviceCommands::hid_02H_SetCurrentProfile(uchar profile)
{
    if (m_hid)
        m_hid->hid_02H_SetCurrentProfile(profile);
}

void HidDeviceCommands::hid_80H_GetFWVersion(QString& version)
{
    if (m_hid)
        m_hid->hid_80H_GetFWVersion(version);
}

void HidDeviceCommands::hid_81H_GetReportRate(uchar& rate)
{
    if (m_hid)
        m_hid->hid_81H_GetReportRate(rate);
}

void HidDeviceCommands::hid_82H_GetCurrentProfile(uchar& profile)
{
    if (m_hid)
        m_hid->hid_82H_GetCurrentProfile(profile);
}

void HidDeviceCommands::hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1,
                                                  uchar option2)
{
    if (m_hid)
        m_hid->hid_03H_SetFunctionOption(type, rate, option1, option2);
}

void HidDeviceCommands::hid_0BH_SetCurrentDPIStage(uchar dpiStage)
{
    if (m_hid)
        m_hid->hid_0BH_SetCurrentDPIStage(dpiStage);
}

void HidDeviceCommands::hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    if (m_hid)
        m_hid->hid_0DH_SetRGBLedEffect(effect, option1, option2);
}

void HidDeviceCommands::hid_10H_SetLED8StageColor(uchar type, uchar* src24)
{
    if (m_hid)
        m_hid->hid_10H_SetLED8StageColor(type, src24);
}

void HidDeviceCommands::hid_11H_SetDPISet(uchar dpiStage, uchar* src8)
{
    if (m_hid)
        m_hid->hid_11H_SetDPISet(dpiStage, src8);
}

void HidDeviceCommands::hid_12H_SetKeyMatrix(uchar* src64)
{
    if (m_hid)
        m_hid->hid_12H_SetKeyMatrix(src64);
}

void HidDeviceCommands::hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2)
{
    if (m_hid)
        m_hid->hid_83H_GetFunctionOption(type, option1, option2);
}

bool HidDeviceCommands::hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2,
                                                       uchar& option3)
{
    return m_hid && m_hid->hid_87H_GetLEDInstructFunction(type, option1, option2, option3);
}

bool HidDeviceCommands::hid_91H_GetDPISet(uchar& dpiMAXStage, uchar* src8)
{
    return m_hid && m_hid->hid_91H_GetDPISet(dpiMAXStage, src8);
}

void HidDeviceCommands::hid_92H_GetKeyMatrix(uchar* src64)
{
    if (m_hid)
        m_hid->hid_92H_GetKeyMatrix(src64);
}

void HidDeviceCommands::hid_93H_GetMacroKey(uchar macroId, uchar* src128)
{
    if (m_hid)
        m_hid->hid_93H_GetMacroKey(macroId, src128);
}

void HidDeviceCommands::hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3,
                                                  uchar byte4)
{
    if (m_hid)
        m_hid->hid_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

void HidDeviceCommands::hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3,
                                                     uchar sens4)
{
    if (m_hid)
        m_hid->hid_04H_SetButtonSensitivity(sens1, sens2, sens3, sens4);
}

void HidDeviceCommands::hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty)
{
    if (m_hid)
        m_hid->hid_07H_SetControlIndicatorLight(effect, frequenty);
}

void HidDeviceCommands::hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light,
                                           uchar color, uchar direction)
{
    if (m_hid)
        m_hid->hid_08H_SetLEDType(option, effect, speed, light, color, direction);
}

void HidDeviceCommands::hid_09H_SetKeyboardMode(uchar mode)
{
    if (m_hid)
        m_hid->hid_09H_SetKeyboardMode(mode);
}

void HidDeviceCommands::hid_0DH_SetKeyMatrix(uchar* src512)
{
    if (m_hid)
        m_hid->hid_0DH_SetKeyMatrix(src512);
}

void HidDeviceCommands::hid_0EH_SetKeyOnOff(uchar* src21)
{
    if (m_hid)
        m_hid->hid_0EH_SetKeyOnOff(src21);
}

void HidDeviceCommands::hid_12H_SetUserPicture(uchar index, uchar option, uchar* src512)
{
    if (m_hid)
        m_hid->hid_12H_SetUserPicture(index, option, src512);
}

void HidDeviceCommands::hid_13H_SetRecoveryData()
{
    if (m_hid)
        m_hid->hid_13H_SetRecoveryData();
}

void HidDeviceCommands::hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue)
{
    if (m_hid)
        m_hid->hid_14H_SetColor(index, rValue, gValue, bValue);
}

void HidDeviceCommands::hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3,
                                                  uchar& byte4)
{
    if (m_hid)
        m_hid->hid_83H_GetKeyboardoption(byte1, byte2, byte3, byte4);
}

void HidDeviceCommands::hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3,
                                                     uchar& sens4)
{
    if (m_hid)
        m_hid->hid_84H_GetButtonSensitivity(sens1, sens2, sens3, sens4);
}

void HidDeviceCommands::hid_89H_GetKeyboardMode(uchar& mode)
{
    if (m_hid)
        m_hid->hid_89H_GetKeyboardMode(mode);
}

void HidDeviceCommands::hid_8DH_GetKeyMatrix(uchar* src512)
{
    if (m_hid)
        m_hid->hid_8DH_GetKeyMatrix(src512);
}

void HidDeviceCommands::hid_8EH_GetKeyOnOff(uchar* src21)
{
    if (m_hid)
        m_hid->hid_8EH_GetKeyOnOff(src21);
}

void HidDeviceCommands::hid_91H_GetMacroKey(uchar macroId, uchar* src192)
{
    if (m_hid)
        m_hid->hid_91H_GetMacroKey(macroId, src192);
}
