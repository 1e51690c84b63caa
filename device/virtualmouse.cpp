#include "virtualmouse.h"

#include "blockscrambler.h"
#include "devicetable.h"
#include "q7firmware.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QWaitCondition>
#include <cstring>
#include <memory>

const QByteArray VirtualMouse::kCommandPath = QByteArrayLiteral("virtual:q7:cmd");
const QByteArray VirtualMouse::kEventPath = QByteArrayLiteral("virtual:q7:evt");

namespace
{
// A read the caller wants to wait without limit still ends here, so that a fault in the
// caller shows up as a slow failure instead of a hung test.
constexpr int kEndlessReadCapMs = 30000;
constexpr unsigned char kSettleReport[4] = {0x04, 0x04, 0x00, 0x00};
} // namespace

struct VirtualMouse::State {
    mutable QMutex mutex;
    QWaitCondition changed; // a settle report was posted or the mouse went away
    std::unique_ptr<FirmwareModel> own{new Q7Firmware};
    FirmwareModel* firmware = own.get();
    QByteArray code;
    bool present = true;
    int unplugAfter = -1;
    bool stallReads = false;
    bool writeErrors = false;
    int latencyMs = 0;
    int settleDelayMs = 10;
    int transfers = 0;
    int opens = 0;
    bool settlePending = false;
    QElapsedTimer clock;
    qint64 settleAt = 0;

    State() { clock.start(); }

    void codeBytes(unsigned char out[8]) const
    {
        if (code.size() == 6) {
            out[0] = out[7] = 0;
            std::memcpy(out + 1, code.constData(), 6);
        } else {
            std::memcpy(out, SecrecyCode, 8);
        }
    }

    // Counts one transfer; false when the mouse is (or just became) absent.
    bool countTransfer()
    {
        if (!present)
            return false;
        ++transfers;
        if (unplugAfter >= 0 && unplugAfter-- == 0) {
            present = false;
            changed.wakeAll();
            return false;
        }
        return true;
    }

    void postSettle()
    {
        settlePending = true;
        settleAt = clock.elapsed() + settleDelayMs;
        changed.wakeAll();
    }

    int latency() const
    {
        QMutexLocker l(&mutex);
        return latencyMs;
    }
};

class VirtualMouse::Device : public HidDevice
{
public:
    Device(QSharedPointer<State> state, bool event) : m_state(std::move(state)), m_event(event) {}

    int setBlocking(bool) override
    {
        QMutexLocker l(&m_state->mutex);
        return m_state->present ? 0 : -1;
    }

    int sendFeatureReport(const unsigned char* data, size_t length) override
    {
        delay();
        QMutexLocker l(&m_state->mutex);
        if (!m_state->countTransfer() || m_state->writeErrors || m_event || length != 9 ||
            data[0] != 0)
            return -1;
        unsigned char block[8];
        std::memcpy(block, data + 1, 8);
        if (isEncode) {
            unsigned char code[8];
            m_state->codeBytes(code);
            BlockScrambler::unscramble(block, code);
        }
        m_state->firmware->onCommand(block);
        m_state->postSettle();
        return int(length);
    }

    int getFeatureReport(unsigned char* data, size_t length) override
    {
        delay();
        QMutexLocker l(&m_state->mutex);
        if (!m_state->countTransfer() || m_event || length < 9 || data[0] != 0)
            return -1;
        unsigned char block[8];
        m_state->firmware->answer(block);
        if (isEncode) {
            unsigned char code[8];
            m_state->codeBytes(code);
            BlockScrambler::scramble(block, code);
        }
        std::memcpy(data + 1, block, 8);
        return 9;
    }

    int write(const unsigned char* data, size_t length) override
    {
        delay();
        QMutexLocker l(&m_state->mutex);
        if (!m_state->countTransfer() || m_state->writeErrors || m_event ||
            length != size_t(kReportLength + 1) || data[0] != 0)
            return -1;
        m_state->firmware->onBulkOut(data + 1, kReportLength);
        m_state->postSettle();
        return int(length);
    }

    int readTimeout(unsigned char* data, size_t length, int timeoutMs) override
    {
        delay();
        const int bound = timeoutMs < 0 ? kEndlessReadCapMs : timeoutMs;
        const QDeadlineTimer deadline(bound);
        QMutexLocker l(&m_state->mutex);
        if (!m_state->countTransfer())
            return -1;
        if (!m_event && !m_state->stallReads) {
            unsigned char report[kReportLength];
            if (m_state->firmware->nextBulkIn(report, kReportLength)) {
                const size_t n = qMin(length, size_t(kReportLength));
                std::memcpy(data, report, n);
                return int(n);
            }
        }
        // Nothing to send: wait out the bound, but hand over a settle report on the event
        // interface as soon as it is due.
        for (;;) {
            if (!m_state->present)
                return -1;
            qint64 waitMs = deadline.remainingTime();
            if (m_event && !m_state->stallReads && m_state->settlePending) {
                const qint64 due = m_state->settleAt - m_state->clock.elapsed();
                if (due <= 0) {
                    m_state->settlePending = false;
                    const size_t n = qMin(length, sizeof kSettleReport);
                    std::memcpy(data, kSettleReport, n);
                    return int(n);
                }
                waitMs = qMin(waitMs, due);
            }
            if (deadline.hasExpired())
                return 0;
            m_state->changed.wait(&m_state->mutex, QDeadlineTimer(qMax<qint64>(waitMs, 1)));
        }
    }

private:
    void delay() const
    {
        const int ms = m_state->latency();
        if (ms > 0)
            QThread::msleep(ulong(ms));
    }

    QSharedPointer<State> m_state;
    bool m_event;
};

VirtualMouse::VirtualMouse() : m_state(new State) {}

VirtualMouse::~VirtualMouse()
{
    // Devices still open share the state; they see an absent mouse from now on.
    QMutexLocker l(&m_state->mutex);
    m_state->present = false;
    m_state->changed.wakeAll();
}

void VirtualMouse::setFirmware(FirmwareModel* firmware)
{
    QMutexLocker l(&m_state->mutex);
    m_state->firmware = firmware ? firmware : m_state->own.get();
}

FirmwareModel* VirtualMouse::firmware() const
{
    QMutexLocker l(&m_state->mutex);
    return m_state->firmware;
}

void VirtualMouse::setCode(const QByteArray& code)
{
    QMutexLocker l(&m_state->mutex);
    m_state->code = code;
}

void VirtualMouse::setPresent(bool present)
{
    QMutexLocker l(&m_state->mutex);
    m_state->present = present;
    m_state->changed.wakeAll();
}

bool VirtualMouse::isPresent() const
{
    QMutexLocker l(&m_state->mutex);
    return m_state->present;
}

void VirtualMouse::setUnplugAfter(int transfers)
{
    QMutexLocker l(&m_state->mutex);
    m_state->unplugAfter = transfers;
}

void VirtualMouse::setStallReads(bool stall)
{
    QMutexLocker l(&m_state->mutex);
    m_state->stallReads = stall;
}

void VirtualMouse::setWriteErrors(bool fail)
{
    QMutexLocker l(&m_state->mutex);
    m_state->writeErrors = fail;
}

void VirtualMouse::setLatencyMs(int ms)
{
    QMutexLocker l(&m_state->mutex);
    m_state->latencyMs = qMax(0, ms);
}

void VirtualMouse::setSettleDelayMs(int ms)
{
    QMutexLocker l(&m_state->mutex);
    m_state->settleDelayMs = qMax(0, ms);
}

int VirtualMouse::transferCount() const
{
    QMutexLocker l(&m_state->mutex);
    return m_state->transfers;
}

int VirtualMouse::openCount() const
{
    QMutexLocker l(&m_state->mutex);
    return m_state->opens;
}

QList<HidInterfaceInfo> VirtualMouse::enumerate(quint16 vendorId, quint16 productId)
{
    QMutexLocker l(&m_state->mutex);
    if (!m_state->present || vendorId != kVendorId || productId != kProductId)
        return {};
    HidInterfaceInfo command;
    command.path = kCommandPath;
    command.vendorId = kVendorId;
    command.productId = kProductId;
    command.usagePage = 0xFF00;
    command.usage = 0xFF00;
    command.interfaceNumber = 1;
    HidInterfaceInfo event = command;
    event.path = kEventPath;
    event.usagePage = 0xFF01;
    event.usage = 0xFF01;
    event.interfaceNumber = 2;
    return {command, event};
}

HidDevice* VirtualMouse::open(const QByteArray& path)
{
    QMutexLocker l(&m_state->mutex);
    if (!m_state->present || (path != kCommandPath && path != kEventPath))
        return nullptr;
    ++m_state->opens;
    return new Device(m_state, path == kEventPath);
}
