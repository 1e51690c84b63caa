// Placeholder bodies: replaced by the real implementation.
#include "hid_thread.h"

void Hid_Thread::hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) { Q_UNUSED(byte1); Q_UNUSED(byte2); Q_UNUSED(byte3); Q_UNUSED(byte4); }
void Hid_Thread::hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4) { Q_UNUSED(sens1); Q_UNUSED(sens2); Q_UNUSED(sens3); Q_UNUSED(sens4); }
void Hid_Thread::hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty) { Q_UNUSED(effect); Q_UNUSED(frequenty); }
void Hid_Thread::hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction) { Q_UNUSED(option); Q_UNUSED(effect); Q_UNUSED(speed); Q_UNUSED(light); Q_UNUSED(color); Q_UNUSED(direction); }
void Hid_Thread::hid_09H_SetKeyboardMode(uchar mode) { Q_UNUSED(mode); }
void Hid_Thread::hid_0DH_SetKeyMatrix(uchar* src512) { Q_UNUSED(src512); }
void Hid_Thread::hid_0EH_SetKeyOnOff(uchar* src21) { Q_UNUSED(src21); }
void Hid_Thread::hid_11H_SetMacroKey(uchar macroId, uchar* src192) { Q_UNUSED(macroId); Q_UNUSED(src192); }
void Hid_Thread::hid_12H_SetUserPicture(uchar index, uchar option, uchar* src512) { Q_UNUSED(index); Q_UNUSED(option); Q_UNUSED(src512); }
void Hid_Thread::hid_13H_SetRecoveryData() { }
void Hid_Thread::hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue) { Q_UNUSED(index); Q_UNUSED(rValue); Q_UNUSED(gValue); Q_UNUSED(bValue); }
void Hid_Thread::hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4) { Q_UNUSED(byte1); Q_UNUSED(byte2); Q_UNUSED(byte3); Q_UNUSED(byte4); }
void Hid_Thread::hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3, uchar& sens4) { Q_UNUSED(sens1); Q_UNUSED(sens2); Q_UNUSED(sens3); Q_UNUSED(sens4); }
void Hid_Thread::hid_88H_GetLEDType(uchar& effect, uchar& speed, uchar& light, uchar& color, uchar& direction) { Q_UNUSED(effect); Q_UNUSED(speed); Q_UNUSED(light); Q_UNUSED(color); Q_UNUSED(direction); }
void Hid_Thread::hid_89H_GetKeyboardMode(uchar& mode) { Q_UNUSED(mode); }
void Hid_Thread::hid_8DH_GetKeyMatrix(uchar* src512) { Q_UNUSED(src512); }
void Hid_Thread::hid_8EH_GetKeyOnOff(uchar* src21) { Q_UNUSED(src21); }
void Hid_Thread::hid_91H_GetMacroKey(uchar macroId, uchar* src192) { Q_UNUSED(macroId); Q_UNUSED(src192); }
void Hid_Thread::hid_92H_GetUserPicture(uchar index, uchar* src512) { Q_UNUSED(index); Q_UNUSED(src512); }
void Hid_Thread::hid_94H_GetColor(uchar index, uchar& rValue, uchar& gValue, uchar& bValue) { Q_UNUSED(index); Q_UNUSED(rValue); Q_UNUSED(gValue); Q_UNUSED(bValue); }
