// Device-operation bridge and pointer settings: the view host's slots forward to
// DeviceBridge and PointerSettings.
#include "devicebridge.h"
#include "linuxpointersystem.h"
#include "myqquickview.h"
#include "pointersettings.h"

void myQQuickView::initDevice()
{
    m_bridge = new DeviceBridge(m_profiles, this);
    m_pointer = new PointerSettings(m_profiles, new LinuxPointerSystem, messageTexts(), this);
    attachHid();
}

void myQQuickView::attachHid()
{
    if (m_bridge)
        m_bridge->setHid(hid);
    if (m_pointer)
        m_pointer->setHid(hid);
}

void myQQuickView::ui_01H_SetReportRate(uchar rate)
{
    m_bridge->ui_01H_SetReportRate(rate);
}

void myQQuickView::ui_02H_SetCurrentProfile(int profile)
{
    m_bridge->ui_02H_SetCurrentProfile(profile);
}

void myQQuickView::ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    m_bridge->ui_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

void myQQuickView::ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4)
{
    m_bridge->ui_04H_SetButtonSensitivity(sens1, sens2, sens3, sens4);
}

void myQQuickView::ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty)
{
    m_bridge->ui_07H_SetControlIndicatorLight(effect, frequenty);
}

void myQQuickView::ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light,
                                     uchar color, uchar direction)
{
    m_bridge->ui_08H_SetLEDType(option, effect, speed, light, color, direction);
}

void myQQuickView::ui_09H_SetKeyboardMode(uchar mode)
{
    m_bridge->ui_09H_SetKeyboardMode(mode);
}

void myQQuickView::ui_0BH_SetCurrentDPIStage(uchar dpiStage)
{
    m_bridge->ui_0BH_SetCurrentDPIStage(dpiStage);
}

void myQQuickView::ui_0DH_SetKeyMatrix(QVariantList src512)
{
    m_bridge->ui_0DH_SetKeyMatrix(src512);
}

void myQQuickView::ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2,
                                          QVariantList configs)
{
    m_bridge->ui_0DH_SetRGBLedEffect(effect, option1, option2, configs);
}

void myQQuickView::ui_0EH_SetKeyOnOff(QVariantList src21)
{
    m_bridge->ui_0EH_SetKeyOnOff(src21);
}

void myQQuickView::ui_10H_SetLED8StageColor(uchar type, QVariantList src24)
{
    m_bridge->ui_10H_SetLED8StageColor(type, src24);
}

void myQQuickView::ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex)
{
    m_bridge->ui_11H_SetDPISet(dpiStage, src8, valueForIndex);
}

void myQQuickView::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512)
{
    m_bridge->ui_12H_SetUserPicture(index, option, src512);
}

void myQQuickView::ui_12H_SetKeyMatrix(QVariantList src64)
{
    m_bridge->ui_12H_SetKeyMatrix(src64);
}

void myQQuickView::ui_13H_SetRecoveryData()
{
    m_bridge->ui_13H_SetRecoveryData();
}

void myQQuickView::ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue)
{
    m_bridge->ui_14H_SetColor(index, rValue, gValue, bValue);
}

QString myQQuickView::ui_80H_GetFWVersion()
{
    return m_bridge->ui_80H_GetFWVersion();
}

QVariant myQQuickView::ui_81H_GetReportRate()
{
    return m_bridge->ui_81H_GetReportRate();
}

QVariant myQQuickView::ui_82H_GetCurrentProfile()
{
    return m_bridge->ui_82H_GetCurrentProfile();
}

QVariantList myQQuickView::ui_83H_GetKeyboardoption()
{
    return m_bridge->ui_83H_GetKeyboardoption();
}

QVariantList myQQuickView::ui_84H_GetButtonSensitivity()
{
    return m_bridge->ui_84H_GetButtonSensitivity();
}

QVariantList myQQuickView::ui_88H_GetLEDType()
{
    return m_bridge->ui_88H_GetLEDType();
}

QVariant myQQuickView::ui_89H_GetKeyboardMode()
{
    return m_bridge->ui_89H_GetKeyboardMode();
}

QVariant myQQuickView::ui_8BH_GetCurrentDPIStage()
{
    return m_bridge->ui_8BH_GetCurrentDPIStage();
}

QVariantList myQQuickView::ui_8DH_GetKeyMatrix()
{
    return m_bridge->ui_8DH_GetKeyMatrix();
}

QVariantList myQQuickView::ui_8DH_GetRGBLedEffect()
{
    return m_bridge->ui_8DH_GetRGBLedEffect();
}

QVariantList myQQuickView::ui_8EH_GetKeyOnOff()
{
    return m_bridge->ui_8EH_GetKeyOnOff();
}

QVariantList myQQuickView::ui_90H_GetLED8StageColor(uchar type)
{
    return m_bridge->ui_90H_GetLED8StageColor(type);
}

QVariantList myQQuickView::ui_91H_GetMacroKey(uchar macroId)
{
    return m_bridge->ui_91H_GetMacroKey(macroId);
}

QVariantList myQQuickView::ui_91H_GetDPISet()
{
    return m_bridge->ui_91H_GetDPISet();
}

uchar myQQuickView::ui_91H_SyncDPI()
{
    return m_bridge->ui_91H_SyncDPI();
}

QVariantList myQQuickView::ui_92H_GetUserPicture(uchar index)
{
    return m_bridge->ui_92H_GetUserPicture(index);
}

QVariantList myQQuickView::ui_92H_GetKeyMatrix()
{
    return m_bridge->ui_92H_GetKeyMatrix();
}

QVariantList myQQuickView::ui_93H_GetMacroKey(uchar macroId)
{
    return m_bridge->ui_93H_GetMacroKey(macroId);
}

QVariantList myQQuickView::ui_94H_GetColor(uchar index)
{
    return m_bridge->ui_94H_GetColor(index);
}

QVariant myQQuickView::getSensorType()
{
    return m_bridge->getSensorType();
}

bool myQQuickView::chkIsLogoLedWork()
{
    return m_bridge->chkIsLogoLedWork();
}

bool myQQuickView::getMsgAns_FoolProofing()
{
    return m_pointer->getMsgAns_FoolProofing();
}

void myQQuickView::setScrollPinSwap(bool isSwap)
{
    m_pointer->setScrollPinSwap(isSwap);
}

bool myQQuickView::getScrollPinSwap()
{
    return m_pointer->getScrollPinSwap();
}

void myQQuickView::setAcceleration(bool acceleration)
{
    m_pointer->setAcceleration(acceleration);
}

bool myQQuickView::getAcceleration()
{
    return m_pointer->getAcceleration();
}

void myQQuickView::setCursorSpeed(uint cursorSpeed)
{
    m_pointer->setCursorSpeed(cursorSpeed);
}

uint myQQuickView::getCursorSpeed()
{
    return m_pointer->getCursorSpeed();
}

void myQQuickView::setVerticalScrollLines(uint lines)
{
    m_pointer->setVerticalScrollLines(lines);
}

uint myQQuickView::getVerticalScrollLines()
{
    return m_pointer->getVerticalScrollLines();
}

void myQQuickView::setDoubleClickSpeed(uint speed)
{
    m_pointer->setDoubleClickSpeed(speed);
}

uint myQQuickView::getDoubleClickSpeed()
{
    return m_pointer->getDoubleClickSpeed();
}
