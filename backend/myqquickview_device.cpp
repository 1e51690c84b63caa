// Placeholder bodies: replaced by the real implementation.
#include "myqquickview.h"

void myQQuickView::initDevice() {}
void myQQuickView::attachHid() {}
void myQQuickView::ui_01H_SetReportRate(uchar rate) { Q_UNUSED(rate); }
void myQQuickView::ui_02H_SetCurrentProfile(int profile) { Q_UNUSED(profile); }
void myQQuickView::ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) { Q_UNUSED(byte1); Q_UNUSED(byte2); Q_UNUSED(byte3); Q_UNUSED(byte4); }
void myQQuickView::ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4) { Q_UNUSED(sens1); Q_UNUSED(sens2); Q_UNUSED(sens3); Q_UNUSED(sens4); }
void myQQuickView::ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty) { Q_UNUSED(effect); Q_UNUSED(frequenty); }
void myQQuickView::ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction) { Q_UNUSED(option); Q_UNUSED(effect); Q_UNUSED(speed); Q_UNUSED(light); Q_UNUSED(color); Q_UNUSED(direction); }
void myQQuickView::ui_09H_SetKeyboardMode(uchar mode) { Q_UNUSED(mode); }
void myQQuickView::ui_0BH_SetCurrentDPIStage(uchar dpiStage) { Q_UNUSED(dpiStage); }
void myQQuickView::ui_0DH_SetKeyMatrix(QVariantList src512) { Q_UNUSED(src512); }
void myQQuickView::ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs) { Q_UNUSED(effect); Q_UNUSED(option1); Q_UNUSED(option2); Q_UNUSED(configs); }
void myQQuickView::ui_0EH_SetKeyOnOff(QVariantList src21) { Q_UNUSED(src21); }
void myQQuickView::ui_10H_SetLED8StageColor(uchar type, QVariantList src24) { Q_UNUSED(type); Q_UNUSED(src24); }
void myQQuickView::ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex) { Q_UNUSED(dpiStage); Q_UNUSED(src8); Q_UNUSED(valueForIndex); }
void myQQuickView::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512) { Q_UNUSED(index); Q_UNUSED(option); Q_UNUSED(src512); }
void myQQuickView::ui_12H_SetKeyMatrix(QVariantList src64) { Q_UNUSED(src64); }
void myQQuickView::ui_13H_SetRecoveryData() { }
void myQQuickView::ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue) { Q_UNUSED(index); Q_UNUSED(rValue); Q_UNUSED(gValue); Q_UNUSED(bValue); }
QString myQQuickView::ui_80H_GetFWVersion() {  return {}; }
QVariant myQQuickView::ui_81H_GetReportRate() {  return {}; }
QVariant myQQuickView::ui_82H_GetCurrentProfile() {  return {}; }
QVariantList myQQuickView::ui_83H_GetKeyboardoption() {  return {}; }
QVariantList myQQuickView::ui_84H_GetButtonSensitivity() {  return {}; }
QVariantList myQQuickView::ui_88H_GetLEDType() {  return {}; }
QVariant myQQuickView::ui_89H_GetKeyboardMode() {  return {}; }
QVariant myQQuickView::ui_8BH_GetCurrentDPIStage() {  return {}; }
QVariantList myQQuickView::ui_8DH_GetKeyMatrix() {  return {}; }
QVariantList myQQuickView::ui_8DH_GetRGBLedEffect() {  return {}; }
QVariantList myQQuickView::ui_8EH_GetKeyOnOff() {  return {}; }
QVariantList myQQuickView::ui_90H_GetLED8StageColor(uchar type) { Q_UNUSED(type);  return {}; }
QVariantList myQQuickView::ui_91H_GetMacroKey(uchar macroId) { Q_UNUSED(macroId);  return {}; }
QVariantList myQQuickView::ui_91H_GetDPISet() {  return {}; }
uchar myQQuickView::ui_91H_SyncDPI() {  return {}; }
QVariantList myQQuickView::ui_92H_GetUserPicture(uchar index) { Q_UNUSED(index);  return {}; }
QVariantList myQQuickView::ui_92H_GetKeyMatrix() {  return {}; }
QVariantList myQQuickView::ui_93H_GetMacroKey(uchar macroId) { Q_UNUSED(macroId);  return {}; }
QVariantList myQQuickView::ui_94H_GetColor(uchar index) { Q_UNUSED(index);  return {}; }
QVariant myQQuickView::getSensorType() {  return {}; }
bool myQQuickView::chkIsLogoLedWork() {  return {}; }
bool myQQuickView::getMsgAns_FoolProofing() {  return {}; }
void myQQuickView::setScrollPinSwap(bool isSwap) { Q_UNUSED(isSwap); }
bool myQQuickView::getScrollPinSwap() {  return {}; }
void myQQuickView::setAcceleration(bool acceleration) { Q_UNUSED(acceleration); }
bool myQQuickView::getAcceleration() {  return {}; }
void myQQuickView::setCursorSpeed(uint cursorSpeed) { Q_UNUSED(cursorSpeed); }
uint myQQuickView::getCursorSpeed() {  return {}; }
void myQQuickView::setVerticalScrollLines(uint lines) { Q_UNUSED(lines); }
uint myQQuickView::getVerticalScrollLines() {  return {}; }
void myQQuickView::setDoubleClickSpeed(uint speed) { Q_UNUSED(speed); }
uint myQQuickView::getDoubleClickSpeed() {  return {}; }
