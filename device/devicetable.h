#pragma once

#include <QList>
#include <QString>

// One parsed section of the embedded device table.
struct DeviceDescriptor {
    int type = -1;
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0;
    quint16 usage = 0;
    quint16 usagePage2 = 0;
    quint16 usage2 = 0;
    QString name;
    quint32 reportLength = 0;
};

// Set by every reading of the table: command and answer blocks are scrambled on the wire.
extern bool isEncode;
// The scrambling code in use: bytes 1..6 hold its six characters, bytes 0 and 7 stay 0.
extern unsigned char SecrecyCode[8];

// Reads the device table (":/DevInfo.ini" by default) and the names from the application
// configuration; sets isEncode.
QList<DeviceDescriptor>
readDeviceTable(const QString& tablePath = QStringLiteral(":/DevInfo.ini"),
                const QString& apConfigPath = QStringLiteral("./modules/setting/apConfig.bin"));

// Loads "common/sCode<n>" of the application configuration into SecrecyCode when it is
// exactly six characters long; default "284613".
void loadSecrecyCode(
    uint n, const QString& apConfigPath = QStringLiteral("./modules/setting/apConfig.bin"));
