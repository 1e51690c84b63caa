// Placeholder bodies: replaced by the real implementation.
#include "devicetable.h"

bool isEncode = false;
unsigned char SecrecyCode[8] = {};
QList<DeviceDescriptor> readDeviceTable(const QString&, const QString&) { return {}; }
void loadSecrecyCode(uint, const QString&) {}
