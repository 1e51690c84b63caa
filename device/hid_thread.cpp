// Discovery, connection, the device monitor and the report transport of Hid_Thread. The two
// command families live in mousecommands.cpp and keyboardcommands.cpp.
#include "hid_thread.h"

#include "blockscrambler.h"
#include "hidapibackend.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThreadPool>
#include <QtConcurrent>
#include <cstring>
#include <vector>

bool deviceConnected = false;
std::atomic<bool> languageChecksumOk{true};

namespace
{

HidBackend* processBackend()
{
    static HidapiBackend backend;
    return &backend;
}

constexpr int kFeatureReportSize = 9; // id 0 + 8-byte block
constexpr int kPayloadCapacity = int(sizeof(Hid_Thread::Reports::payloadBuffer));
constexpr unsigned char kSettleReport[4] = {0x04, 0x04, 0x00, 0x00};

// Releases the transport on every way out of an exchange.
class ExchangeEnd
{
public:
    explicit ExchangeEnd(Hid_Thread* hid) : m_hid(hid) {}
    ~ExchangeEnd()
    {
        m_hid->closeCommandInterface();
        m_hid->transportIdle.store(true);
    }

private:
    Hid_Thread* m_hid;
};

} // namespace

Hid_Thread::Hid_Thread(QObject* parent) : QThread(parent), m_backend(processBackend())
{
    // The monitor holds one pool thread for as long as it runs; on a two-core machine the
    // global pool has only two, and a set exchange must never queue behind other work
    // until its claim times out.
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool->maxThreadCount() < 4)
        pool->setMaxThreadCount(4);
}

Hid_Thread::~Hid_Thread()
{
    stopMonitor();
    // Bounded: every transfer of an exchange is bounded, and so are its sleeps.
    exchangeFuture.waitForFinished();
    closeCommandInterface();
    closeEventInterface();
    QMutexLocker l(&m_lock);
    qDeleteAll(devices);
    devices.clear();
}

void Hid_Thread::setBackend(HidBackend* backend)
{
    m_backend = backend ? backend : processBackend();
}

void Hid_Thread::setSleeper(std::function<void(int)> sleeper)
{
    m_sleep = std::move(sleeper);
}

void Hid_Thread::sleepMs(int ms) const
{
    if (m_sleep)
        m_sleep(ms);
    else
        QThread::msleep(ulong(ms));
}

// --- discovery and connection ----------------------------------------------------------

void Hid_Thread::enumerateDevices(const QList<DeviceDescriptor>& descriptors)
{
    QList<DeviceRecord*> list;
    for (int n = 0; n < descriptors.size(); ++n) {
        const DeviceDescriptor& d = descriptors.at(n);
        auto* record = new DeviceRecord{n, d.name, d.type, QString(), QString(), d.reportLength};
        list.append(record);
        // Only the mouse row is ever searched for; the keyboard row keeps empty paths.
        if (n != 1)
            continue;
        QByteArray command;
        QByteArray event;
        for (const HidInterfaceInfo& info : m_backend->enumerate(d.vid, d.pid)) {
            if (info.usagePage == d.usagePage && info.usage == d.usage)
                command = info.path;
            if (info.usagePage == d.usagePage2 && info.usage == d.usage2)
                event = info.path;
            if (!command.isEmpty() && !event.isEmpty()) {
                record->commandPath = QString::fromLocal8Bit(command);
                record->eventPath = QString::fromLocal8Bit(event);
            }
        }
    }
    QList<DeviceRecord*> old;
    {
        QMutexLocker l(&m_lock);
        old.swap(devices);
        devices = list;
    }
    qDeleteAll(old);
}

void Hid_Thread::swichCurDevice(uint did)
{
    if (did != currentDevice) {
        currentDevice = did;
        startMonitor(did);
    }
    if (currentDevice == 0 || currentDevice == 1)
        loadSecrecyCode(currentDevice, m_configPath);
    QMutexLocker use(&m_commandUse);
    deviceConnected = openInterfaceLocked(int(currentDevice), Interface::Command) != nullptr;
    closeInterfaceLocked(Interface::Command);
}

void Hid_Thread::startMonitor(uint did)
{
    stopMonitor();
    monitorRunning.store(true);
    monitorFuture = QtConcurrent::run(this, &Hid_Thread::deviceMonitor, did);
}

void Hid_Thread::stopMonitor()
{
    monitorRunning.store(false);
    // Bounded: the task looks at the flag after every read, and each read is bounded.
    monitorFuture.waitForFinished();
}

void Hid_Thread::deviceMonitor(uint did)
{
    const int index = int(did);
    {
        QMutexLocker l(&m_lock);
        if (index < 0 || index >= devices.size() || devices.at(index)->eventPath.isEmpty())
            return;
    }
    while (monitorRunning.load()) {
        int n = 0;
        {
            QMutexLocker use(&m_eventUse);
            HidDevice* h = openInterfaceLocked(index, Interface::Event);
            if (!h) {
                qDebug("Device removed");
                monitorRunning.store(false);
                return;
            }
            unsigned char report[4] = {};
            n = h->readTimeout(report, sizeof report, kMonitorReadTimeoutMs);
            if (n == 4 && std::memcmp(report, kSettleReport, 4) == 0)
                settled.store(true);
            closeInterfaceLocked(Interface::Event);
        }
        // A read that fails at once (while the interface still opens) would otherwise spin
        // this pool thread; keep the pass as long as a timed-out read.
        if (n < 0) {
            QElapsedTimer t;
            t.start();
            while (monitorRunning.load() && t.elapsed() < kMonitorReadTimeoutMs)
                QThread::msleep(10);
        }
    }
}

HidDevice* Hid_Thread::openInterfaceLocked(int index, Interface which)
{
    HidDevice* old = nullptr;
    QString path;
    {
        QMutexLocker l(&m_lock);
        if (index < 0 || index >= devices.size())
            return nullptr;
        const DeviceRecord* record = devices.at(index);
        path = which == Interface::Command ? record->commandPath : record->eventPath;
        if (path.isEmpty())
            return nullptr;
        HidDevice*& handle = which == Interface::Command ? commandHandle : eventHandle;
        old = handle;
        handle = nullptr;
    }
    delete old;

    HidDevice* h = m_backend->open(path.toLocal8Bit());
    QMutexLocker l(&m_lock);
    if (h) {
        h->setBlocking(true);
        (which == Interface::Command ? commandHandle : eventHandle) = h;
        return h;
    }
    // Forget the path until the next check; a check that ran meanwhile may have found a
    // new one, which stays.
    if (index < devices.size()) {
        QString& recorded = which == Interface::Command ? devices.at(index)->commandPath
                                                        : devices.at(index)->eventPath;
        if (recorded == path)
            recorded.clear();
    }
    return nullptr;
}

void Hid_Thread::closeInterfaceLocked(Interface which)
{
    HidDevice* h = nullptr;
    {
        QMutexLocker l(&m_lock);
        HidDevice*& handle = which == Interface::Command ? commandHandle : eventHandle;
        h = handle;
        handle = nullptr;
    }
    delete h;
}

HidDevice* Hid_Thread::openCurrentDevice(int index)
{
    QMutexLocker use(&m_commandUse);
    return openInterfaceLocked(index, Interface::Command);
}

HidDevice* Hid_Thread::openEventInterface(int index)
{
    QMutexLocker use(&m_eventUse);
    return openInterfaceLocked(index, Interface::Event);
}

void Hid_Thread::closeCommandInterface()
{
    QMutexLocker use(&m_commandUse);
    closeInterfaceLocked(Interface::Command);
}

void Hid_Thread::closeEventInterface()
{
    QMutexLocker use(&m_eventUse);
    closeInterfaceLocked(Interface::Event);
}

QList<DeviceRecord> Hid_Thread::deviceRecords() const
{
    QMutexLocker l(&m_lock);
    QList<DeviceRecord> out;
    for (const DeviceRecord* r : devices)
        out.append(*r);
    return out;
}

quint32 Hid_Thread::reportLengthOf(int index) const
{
    QMutexLocker l(&m_lock);
    return index >= 0 && index < devices.size() ? devices.at(index)->reportLength : 0;
}

int Hid_Thread::commandTransfer(int index, const std::function<int(HidDevice*)>& transfer)
{
    QMutexLocker use(&m_commandUse);
    HidDevice* h = openInterfaceLocked(index, Interface::Command);
    return h ? transfer(h) : -1;
}

// --- blocks ------------------------------------------------------------------------------

uchar Hid_Thread::hidCS(uchar* cmd)
{
    uchar sum = 0;
    for (int i = 0; i < 7; ++i)
        sum = uchar(sum + cmd[i]);
    return uchar(~sum);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    BlockScrambler::scramble(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    BlockScrambler::unscramble(FIFOBuf, SecrecyCode);
}

// --- transport ---------------------------------------------------------------------------

bool Hid_Thread::acquireTransport()
{
    for (int count = 255;;) {
        bool idle = true;
        if (transportIdle.compare_exchange_strong(idle, false))
            return true;
        claimPause(8);
        if (--count == 0)
            return false;
    }
}

void Hid_Thread::claimPause(int ms)
{
    if (m_sleep) {
        sleepMs(ms);
        QCoreApplication::processEvents();
        return;
    }
    // Events are handled all through the pause, not only after it: back-to-back commands
    // (claim, return, claim again) would otherwise hold the event loop for two pauses.
    const QDeadlineTimer until(ms, Qt::PreciseTimer);
    do {
        QThread::msleep(ulong(qBound<qint64>(0, until.remainingTime(), 1)));
        QCoreApplication::processEvents();
    } while (!until.hasExpired());
}

void Hid_Thread::waitQuiet()
{
    // Ends after one period when the monitor saw the settle report within it, else after
    // two: the flag is set at the end of the first period, so the second always stops.
    settled.store(false);
    for (int i = 0; i < 256; ++i) {
        sleepMs(64);
        if (settled.load())
            break;
        settled.store(true);
    }
}

bool Hid_Thread::beginExchange(int length, ExchangeSetup& setup)
{
    setup.index = int(currentDevice);
    if (!languageChecksumOk.load() || length < 0 || length > kPayloadCapacity)
        return false;
    if (!openCurrentDevice(setup.index))
        return false;
    setup.reportLength = reportLengthOf(setup.index);
    // A payload needs frames to travel in; refuse before the device sees the command.
    if (length > 0 && (setup.reportLength == 0 || setup.reportLength > kMaxReportLength))
        return false;

    // The table and the code can change under a later check; use one view of them.
    setup.scrambled = isEncode;
    std::memcpy(setup.code, SecrecyCode, sizeof setup.code);
    if (setup.scrambled)
        USBDataEncryption(commandBlock, setup.code);

    return commandTransfer(setup.index, [this](HidDevice* h) {
               return h->sendFeatureReport(&reports.outReportId, kFeatureReportSize);
           }) >= 0;
}

bool Hid_Thread::sendExchange(int length, bool settle)
{
    ExchangeEnd end(this);
    ExchangeSetup setup;
    if (!beginExchange(length, setup))
        return false;
    if (settle)
        waitQuiet();
    if (length == 0)
        return true;

    const int rl = int(setup.reportLength);
    const int chunk = qMin(length, rl);
    std::vector<unsigned char> frame(size_t(rl) + 1, 0);
    for (int offset = 0; offset < length; offset += chunk) {
        frame[0] = 0;
        // The last frame carries a whole chunk; past the end of the buffer it carries 0.
        const int inBuffer = qMin(chunk, kPayloadCapacity - offset);
        std::memcpy(frame.data() + 1, payloadBuffer + offset, size_t(inBuffer));
        std::memset(frame.data() + 1 + inBuffer, 0, size_t(chunk - inBuffer));
        const int written = commandTransfer(
            setup.index, [&frame](HidDevice* h) { return h->write(frame.data(), frame.size()); });
        if (written < 0)
            return false;
        sleepMs(8);
    }
    if (settle)
        waitQuiet();
    return true;
}

bool Hid_Thread::receiveExchange(int length)
{
    ExchangeEnd end(this);
    ExchangeSetup setup;
    if (!beginExchange(length, setup))
        return false;
    reports.inReportId = 0;
    const int got = commandTransfer(setup.index, [this](HidDevice* h) {
        return h->getFeatureReport(&reports.inReportId, kFeatureReportSize);
    });
    // A short answer would mix fresh bytes with the last command's.
    if (got < kFeatureReportSize)
        return false;
    // Every answer block arrives scrambled on such a device, bulk gets included.
    if (setup.scrambled)
        USBDataDecipher(answerBlock, setup.code);
    if (length == 0)
        return true;

    const int rl = int(setup.reportLength);
    const int chunk = qMin(length, rl);
    std::vector<unsigned char> frame(size_t(rl) + 1, 0);
    for (int offset = 0; offset < length; offset += chunk) {
        std::fill(frame.begin(), frame.end(), 0);
        // Bounded: a device that never sends its report must not hold the caller.
        const int read = commandTransfer(setup.index, [&frame](HidDevice* h) {
            return h->readTimeout(frame.data(), frame.size(), kBulkReadTimeoutMs);
        });
        if (read <= 0)
            return false;
        std::memcpy(payloadBuffer + offset, frame.data(),
                    size_t(qMin(chunk, kPayloadCapacity - offset)));
    }
    return true;
}

void Hid_Thread::startSendExchange(int length, bool settle)
{
    exchangeFuture = QtConcurrent::run(this, &Hid_Thread::sendExchange, length, settle);
}

bool Hid_Thread::waitForIdle(int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!exchangeFuture.isFinished()) {
        if (t.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(1);
    }
    return true;
}
