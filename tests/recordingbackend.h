#pragma once

// A HidBackend for tests: offers the interfaces a test configures, records every transfer in
// order with the bytes as they go over the wire, answers feature reads and input reads from
// queues the test fills, and fails on request. Never sleeps for a stalled read unless asked
// to, so bound tests stay fast. Safe to use from several threads (the transport runs set
// exchanges on the pool and the monitor on another pool thread).

#include "hidbackend.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QPair>
#include <QQueue>
#include <QSharedPointer>
#include <QThread>
#include <cstring>

class RecordingBackend : public HidBackend
{
public:
    struct Transfer {
        enum Kind { Open, Close, SendFeature, GetFeature, Write, Read } kind;
        // The bytes as on the wire, report id included (features, writes); for reads the
        // bytes handed back (empty when the read timed out or failed); for Open and Close
        // the interface path.
        QByteArray data;
        qint64 msSinceStart = 0;
        QByteArray path;   // the interface the transfer went to
        int result = 0;    // what the call returned (Open: 1 success, -1 failure)
        int timeoutMs = 0; // Read only: the bound the caller asked for (-1 = none)
    };

    RecordingBackend() : m_state(new State) { m_state->clock.start(); }

    // --- configuration -----------------------------------------------------------------

    // Replaces the interfaces reported for vid:pid (in enumeration order).
    void setInterfaces(quint16 vid, quint16 pid, const QList<HidInterfaceInfo>& list)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->interfaces[key(vid, pid)] = list;
    }

    // Appends one interface; vendor and product id come from the info.
    void addInterface(const HidInterfaceInfo& info)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->interfaces[key(info.vendorId, info.productId)].append(info);
    }

    // The mouse's command interface "cmd" (FF00/FF00) and event interface "evt" (FF01/FF01),
    // as the shipped table's mouse row matches them.
    void addMouseInterfaces()
    {
        addInterface(makeInterface("cmd", 0x04d9, 0xa09f, 0xff00, 0xff00));
        addInterface(makeInterface("evt", 0x04d9, 0xa09f, 0xff01, 0xff01));
    }

    static HidInterfaceInfo makeInterface(const QByteArray& path, quint16 vid, quint16 pid,
                                          quint16 usagePage, quint16 usage)
    {
        HidInterfaceInfo i;
        i.path = path;
        i.vendorId = vid;
        i.productId = pid;
        i.usagePage = usagePage;
        i.usage = usage;
        return i;
    }

    // A feature read returns the next queued answer (9 bytes, id first); with the queue
    // empty it returns the default answer (9 zero bytes unless set).
    void queueFeatureAnswer(const QByteArray& report)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->featureAnswers.enqueue(report);
    }
    void setDefaultFeatureAnswer(const QByteArray& report)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->defaultFeatureAnswer = report;
    }

    // An input read on `path` (any interface when empty) returns the next queued report;
    // reports queued for the interface come before those queued for any. With nothing
    // queued the read stalls: it returns 0 at once (or after at most the stall sleep cap).
    void queueInputReport(const QByteArray& report, const QByteArray& path = QByteArray())
    {
        QMutexLocker l(&m_state->mutex);
        m_state->inputReports[path].enqueue(report);
    }
    void setStallSleepCapMs(int ms)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->stallSleepCapMs = ms;
    }

    // Every open fails; `denied` makes lastOpenDenied() report a permission problem.
    void setOpenFails(bool fails, bool denied = false)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->openFails = fails;
        m_state->openDenied = denied;
    }
    // Opens of this one path fail.
    void setOpenFailsFor(const QByteArray& path)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->failingPaths.append(path);
    }

    // Data transfer number n (1-based count of SendFeature, GetFeature, Write and Read since
    // construction or clear()) returns -1; with `fromThenOn` every later one fails too
    // (the device was unplugged). 0 switches the fault off.
    void setFailOnTransfer(int n, bool fromThenOn = false)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->failOn = n;
        m_state->failFromThenOn = fromThenOn;
    }

    // Feature reports answer this many bytes fewer than asked (a short read).
    void setShortFeatureRead(int missing)
    {
        QMutexLocker l(&m_state->mutex);
        m_state->shortFeatureRead = missing;
    }

    // --- inspection --------------------------------------------------------------------

    QList<Transfer> transfers() const
    {
        QMutexLocker l(&m_state->mutex);
        return m_state->log;
    }
    QList<Transfer> transfersOfKind(Transfer::Kind kind) const
    {
        QList<Transfer> out;
        for (const Transfer& t : transfers())
            if (t.kind == kind)
                out.append(t);
        return out;
    }
    int count(Transfer::Kind kind) const { return transfersOfKind(kind).size(); }
    int openDevices() const
    {
        QMutexLocker l(&m_state->mutex);
        return m_state->openCount;
    }
    // Forgets the log and the transfer count (the configuration and queues stay).
    void clear()
    {
        QMutexLocker l(&m_state->mutex);
        m_state->log.clear();
        m_state->transferCount = 0;
        m_state->clock.restart();
    }

    // --- HidBackend ----------------------------------------------------------------------

    QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) override
    {
        QMutexLocker l(&m_state->mutex);
        return m_state->interfaces.value(key(vendorId, productId));
    }

    HidDevice* open(const QByteArray& path) override
    {
        QMutexLocker l(&m_state->mutex);
        const bool fail = m_state->openFails || m_state->failingPaths.contains(path);
        m_state->lastDenied = fail && m_state->openDenied;
        m_state->record(Transfer::Open, path, path, fail ? -1 : 1);
        if (fail)
            return nullptr;
        ++m_state->openCount;
        return new Device(m_state, path);
    }

    bool lastOpenDenied() const override
    {
        QMutexLocker l(&m_state->mutex);
        return m_state->lastDenied;
    }

private:
    struct State {
        mutable QMutex mutex;
        QElapsedTimer clock;
        QHash<quint32, QList<HidInterfaceInfo>> interfaces;
        QQueue<QByteArray> featureAnswers;
        QByteArray defaultFeatureAnswer = QByteArray(9, '\0');
        QHash<QByteArray, QQueue<QByteArray>> inputReports;
        QList<QByteArray> failingPaths;
        QList<Transfer> log;
        int stallSleepCapMs = 0;
        int transferCount = 0;
        int failOn = 0;
        bool failFromThenOn = false;
        bool openFails = false;
        bool openDenied = false;
        bool lastDenied = false;
        int shortFeatureRead = 0;
        int openCount = 0;

        void record(Transfer::Kind kind, const QByteArray& data, const QByteArray& path, int result,
                    int timeoutMs = 0)
        {
            Transfer t{kind, data, clock.elapsed(), path, result, timeoutMs};
            log.append(t);
        }
        // Counts a data transfer and says whether it must fail.
        bool nextTransferFails()
        {
            ++transferCount;
            if (failOn <= 0)
                return false;
            return failFromThenOn ? transferCount >= failOn : transferCount == failOn;
        }
    };

    class Device : public HidDevice
    {
    public:
        Device(QSharedPointer<State> state, const QByteArray& path)
            : m_state(std::move(state)), m_path(path)
        {
        }
        ~Device() override
        {
            QMutexLocker l(&m_state->mutex);
            --m_state->openCount;
            m_state->record(Transfer::Close, m_path, m_path, 0);
        }
        int setBlocking(bool) override { return 0; }
        int sendFeatureReport(const unsigned char* data, size_t length) override
        {
            QMutexLocker l(&m_state->mutex);
            const QByteArray bytes(reinterpret_cast<const char*>(data), int(length));
            const int r = m_state->nextTransferFails() ? -1 : int(length);
            m_state->record(Transfer::SendFeature, bytes, m_path, r);
            return r;
        }
        int getFeatureReport(unsigned char* data, size_t length) override
        {
            QMutexLocker l(&m_state->mutex);
            if (m_state->nextTransferFails()) {
                m_state->record(Transfer::GetFeature, QByteArray(), m_path, -1);
                return -1;
            }
            QByteArray answer = m_state->featureAnswers.isEmpty()
                                    ? m_state->defaultFeatureAnswer
                                    : m_state->featureAnswers.dequeue();
            int n = qMin(int(length), answer.size()) - m_state->shortFeatureRead;
            if (n < 0)
                n = 0;
            std::memcpy(data, answer.constData(), size_t(n));
            m_state->record(Transfer::GetFeature, answer.left(n), m_path, n);
            return n;
        }
        int write(const unsigned char* data, size_t length) override
        {
            QMutexLocker l(&m_state->mutex);
            const QByteArray bytes(reinterpret_cast<const char*>(data), int(length));
            const int r = m_state->nextTransferFails() ? -1 : int(length);
            m_state->record(Transfer::Write, bytes, m_path, r);
            return r;
        }
        int readTimeout(unsigned char* data, size_t length, int timeoutMs) override
        {
            int sleepFor = 0;
            {
                QMutexLocker l(&m_state->mutex);
                if (m_state->nextTransferFails()) {
                    m_state->record(Transfer::Read, QByteArray(), m_path, -1, timeoutMs);
                    return -1;
                }
                QQueue<QByteArray>* q = nullptr;
                if (!m_state->inputReports.value(m_path).isEmpty())
                    q = &m_state->inputReports[m_path];
                else if (!m_state->inputReports.value(QByteArray()).isEmpty())
                    q = &m_state->inputReports[QByteArray()];
                if (q) {
                    const QByteArray report = q->dequeue();
                    const int n = qMin(int(length), report.size());
                    std::memcpy(data, report.constData(), size_t(n));
                    m_state->record(Transfer::Read, report.left(n), m_path, n, timeoutMs);
                    return n;
                }
                m_state->record(Transfer::Read, QByteArray(), m_path, 0, timeoutMs);
                sleepFor = m_state->stallSleepCapMs;
                if (timeoutMs >= 0)
                    sleepFor = qMin(sleepFor, timeoutMs);
            }
            if (sleepFor > 0)
                QThread::msleep(sleepFor);
            return 0;
        }

    private:
        QSharedPointer<State> m_state;
        QByteArray m_path;
    };

    static quint32 key(quint16 vid, quint16 pid) { return (quint32(vid) << 16) | pid; }

    // Shared with the open devices, so a device deleted after the backend stays safe.
    QSharedPointer<State> m_state;
};
