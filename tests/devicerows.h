#pragma once

// The two rows of the shipped device table as parsed descriptors, for tests and benchmarks
// that drive the transport without reading the table file.

#include "devicetable.h"

#include <QList>

// Row 0 the keyboard, row 1 the mouse, with the shipped ids, usage pairs and names. The
// mouse's report length can be changed to try other framings.
inline QList<DeviceDescriptor> shippedDeviceRows(quint32 mouseReportLength = 32)
{
    DeviceDescriptor keyboard;
    keyboard.type = 0;
    keyboard.vid = 0x04d9;
    keyboard.pid = 0x8008;
    keyboard.usagePage = 0xff01;
    keyboard.usage = 0x0001;
    keyboard.usagePage2 = 0xff02;
    keyboard.usage2 = 0x0001;
    keyboard.reportLength = 64;
    keyboard.name = QStringLiteral("Keyboard");
    DeviceDescriptor mouse;
    mouse.type = 1;
    mouse.vid = 0x04d9;
    mouse.pid = 0xa09f;
    mouse.usagePage = 0xff00;
    mouse.usage = 0xff00;
    mouse.usagePage2 = 0xff01;
    mouse.usage2 = 0xff01;
    mouse.reportLength = mouseReportLength;
    mouse.name = QStringLiteral("Q7");
    return {keyboard, mouse};
}
