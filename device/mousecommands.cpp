// Placeholder bodies: replaced by the real implementation.
#include "hid_thread.h"

void Hid_Thread::hid_01H_SetReportRate(uchar rate) { Q_UNUSED(rate); }
void Hid_Thread::hid_02H_SetCurrentProfile(uchar profile) { Q_UNUSED(profile); }
void Hid_Thread::hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2) { Q_UNUSED(type); Q_UNUSED(rate); Q_UNUSED(option1); Q_UNUSED(option2); }
void Hid_Thread::hid_07H_SetLEDInstructFunction(uchar type, uchar option1, uchar option2, uchar option3) { Q_UNUSED(type); Q_UNUSED(option1); Q_UNUSED(option2); Q_UNUSED(option3); }
void Hid_Thread::hid_0BH_SetCurrentDPIStage(uchar dpiStage) { Q_UNUSED(dpiStage); }
void Hid_Thread::hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2) { Q_UNUSED(effect); Q_UNUSED(option1); Q_UNUSED(option2); }
void Hid_Thread::hid_10H_SetLED8StageColor(uchar type, uchar* src24) { Q_UNUSED(type); Q_UNUSED(src24); }
void Hid_Thread::hid_11H_SetDPISet(uchar dpiStage, uchar* src8) { Q_UNUSED(dpiStage); Q_UNUSED(src8); }
void Hid_Thread::hid_12H_SetKeyMatrix(uchar* src64) { Q_UNUSED(src64); }
void Hid_Thread::hid_13H_SetMacroKey(uchar macroId, uchar* src128) { Q_UNUSED(macroId); Q_UNUSED(src128); }
void Hid_Thread::hid_80H_GetFWVersion(QString& version) { Q_UNUSED(version); }
void Hid_Thread::hid_81H_GetReportRate(uchar& rate) { Q_UNUSED(rate); }
void Hid_Thread::hid_82H_GetCurrentProfile(uchar& profile) { Q_UNUSED(profile); }
void Hid_Thread::hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2) { Q_UNUSED(type); Q_UNUSED(option1); Q_UNUSED(option2); }
bool Hid_Thread::hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2, uchar& option3) { Q_UNUSED(type); Q_UNUSED(option1); Q_UNUSED(option2); Q_UNUSED(option3);  return {}; }
void Hid_Thread::hid_8BH_GetCurrentDPIStage(uchar& dpiStage) { Q_UNUSED(dpiStage); }
void Hid_Thread::hid_8DH_GetRGBLedEffect(uchar& effect, uchar& option1, uchar& option2) { Q_UNUSED(effect); Q_UNUSED(option1); Q_UNUSED(option2); }
void Hid_Thread::hid_90H_GetLED8StageColor(uchar type, uchar* src24) { Q_UNUSED(type); Q_UNUSED(src24); }
bool Hid_Thread::hid_91H_GetDPISet(uchar& dpiMAXStage, uchar* src8) { Q_UNUSED(dpiMAXStage); Q_UNUSED(src8);  return {}; }
void Hid_Thread::hid_92H_GetKeyMatrix(uchar* src64) { Q_UNUSED(src64); }
void Hid_Thread::hid_93H_GetMacroKey(uchar macroId, uchar* src128) { Q_UNUSED(macroId); Q_UNUSED(src128); }
