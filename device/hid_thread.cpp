// Placeholder bodies: replaced by the real implementation.
#include "hid_thread.h"

#include <QThread>

bool deviceConnected = false;
std::atomic<bool> languageChecksumOk{true};

Hid_Thread::Hid_Thread(QObject* parent) : QThread(parent) {}
Hid_Thread::~Hid_Thread() {}
void Hid_Thread::setBackend(HidBackend* backend) { m_backend = backend; }
void Hid_Thread::setSleeper(std::function<void(int)> sleeper) { m_sleep = sleeper; }
void Hid_Thread::sleepMs(int ms) const { QThread::msleep(ms); }
void Hid_Thread::enumerateDevices(const QList<DeviceDescriptor>&) {}
void Hid_Thread::startMonitor(uint) {}
void Hid_Thread::deviceMonitor(uint) {}
HidDevice* Hid_Thread::openCurrentDevice(int) { return nullptr; }
HidDevice* Hid_Thread::openEventInterface(int) { return nullptr; }
void Hid_Thread::closeCommandInterface() {}
void Hid_Thread::closeEventInterface() {}
void Hid_Thread::stopMonitor() {}
QList<DeviceRecord> Hid_Thread::deviceRecords() const { return {}; }
bool Hid_Thread::acquireTransport() { return false; }
void Hid_Thread::waitQuiet() {}
bool Hid_Thread::sendExchange(int, bool) { transportIdle = true; return false; }
bool Hid_Thread::receiveExchange(int) { transportIdle = true; return false; }
void Hid_Thread::startSendExchange(int l, bool s) { sendExchange(l, s); }
bool Hid_Thread::waitForIdle(int) { return true; }
void Hid_Thread::swichCurDevice(uint) {}
uchar Hid_Thread::hidCS(uchar*) { return 0; }
void Hid_Thread::USBDataEncryption(uchar[], uchar[]) {}
void Hid_Thread::USBDataDecipher(uchar[], uchar[]) {}
