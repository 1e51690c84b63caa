#pragma once

// A transport wired to a recording backend for the command-set tests: one mouse (report
// length 32) or one keyboard (report length 64) as the current device, blocks unscrambled,
// and every sleep of the transport recorded with the thread it happened on. Sleeps return at
// once unless a test asks for real ones.

#include "devicetable.h"
#include "hid_thread.h"
#include "recordingbackend.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QtTest>
#include <functional>

class CommandFixture
{
public:
    enum Device { Mouse, Keyboard };

    static constexpr quint16 kVid = 0x04d9;
    static constexpr quint16 kMousePid = 0xa09f;
    static constexpr quint16 kKeyboardPid = 0x8008;

    explicit CommandFixture(Device device = Mouse)
    {
        isEncode = false;
        languageChecksumOk = true;
        m_caller = QThread::currentThread();

        DeviceDescriptor mouse;
        mouse.type = 1;
        mouse.vid = kVid;
        mouse.pid = kMousePid;
        mouse.usagePage = 0xff00;
        mouse.usage = 0xff00;
        mouse.usagePage2 = 0xff01;
        mouse.usage2 = 0xff01;
        mouse.name = QStringLiteral("Q7");
        mouse.reportLength = 32;

        DeviceDescriptor keyboard;
        keyboard.type = 0;
        keyboard.vid = kVid;
        keyboard.pid = kKeyboardPid;
        keyboard.usagePage = 0xff01;
        keyboard.usage = 0x0001;
        keyboard.usagePage2 = 0xff02;
        keyboard.usage2 = 0x0001;
        keyboard.name = QStringLiteral("Keyboard");
        keyboard.reportLength = 64;

        const DeviceDescriptor& wanted = device == Mouse ? mouse : keyboard;
        backend.addInterface(RecordingBackend::makeInterface("cmd", wanted.vid, wanted.pid,
                                                             wanted.usagePage, wanted.usage));
        backend.addInterface(RecordingBackend::makeInterface("evt", wanted.vid, wanted.pid,
                                                             wanted.usagePage2, wanted.usage2));

        hid.setBackend(&backend);
        hid.setSleeper([this](int ms) { sleep(ms); });
        // The addressed device is record 1, the only one the discovery looks up; the keyboard
        // is put there so its commands reach a device.
        if (device == Mouse)
            hid.enumerateDevices({keyboard, mouse});
        else
            hid.enumerateDevices({mouse, keyboard});
        hid.currentDevice = 1;
        reportLength = int(wanted.reportLength);
        backend.clear();
    }

    ~CommandFixture()
    {
        hid.waitForIdle(5000);
        isEncode = false;
    }

    // Sleeps really happen (for tests that need a set's exchange to still be running).
    void setRealSleeps(bool real)
    {
        QMutexLocker l(&m_mutex);
        m_real = real;
    }

    QList<int> callerSleeps() const
    {
        QMutexLocker l(&m_mutex);
        return m_callerSleeps;
    }
    QList<int> workerSleeps() const
    {
        QMutexLocker l(&m_mutex);
        return m_workerSleeps;
    }
    void clearSleeps()
    {
        QMutexLocker l(&m_mutex);
        m_callerSleeps.clear();
        m_workerSleeps.clear();
    }

    // The data of every transfer of one kind, in order.
    QList<QByteArray> wire(RecordingBackend::Transfer::Kind kind) const
    {
        QList<QByteArray> out;
        for (const auto& t : backend.transfersOfKind(kind))
            out.append(t.data);
        return out;
    }

    // Queues the answer block of the next feature read (id 0 goes first).
    void queueAnswer(const QByteArray& answer8)
    {
        backend.queueFeatureAnswer(QByteArray(1, '\0') + answer8.leftJustified(8, '\0', true));
    }

    // Queues `payload` as input reports of the device's report length.
    void queueBulkIn(const QByteArray& payload)
    {
        for (int offset = 0; offset < payload.size(); offset += reportLength)
            backend.queueInputReport(
                payload.mid(offset, reportLength).leftJustified(reportLength, '\0'));
    }

    RecordingBackend backend;
    Hid_Thread hid;
    int reportLength = 0;

private:
    void sleep(int ms)
    {
        bool real;
        {
            QMutexLocker l(&m_mutex);
            (QThread::currentThread() == m_caller ? m_callerSleeps : m_workerSleeps).append(ms);
            real = m_real;
        }
        if (real)
            QThread::msleep(ulong(ms));
    }

    mutable QMutex m_mutex;
    QThread* m_caller = nullptr;
    bool m_real = false;
    QList<int> m_callerSleeps;
    QList<int> m_workerSleeps;
};

// A byte pattern that differs at every position of a 512-byte buffer's first 256 bytes and
// never repeats a neighbour, so a shifted or truncated copy shows.
inline QByteArray pattern(int n, int seed = 1)
{
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i] = char((i * 7 + seed) & 0xFF);
    return out;
}

// --- shared checks of the command tables ---------------------------------------------------

// A set command called with a 512-byte caller buffer (ignored by rows without a payload).
using SetCall = std::function<void(Hid_Thread&, uchar*)>;
// A get command called with the caller's presets; returns every result as bytes in order.
using GetCall = std::function<QByteArray(Hid_Thread&)>;
Q_DECLARE_METATYPE(SetCall)
Q_DECLARE_METATYPE(GetCall)

inline QByteArray bytes(std::initializer_list<uchar> list)
{
    QByteArray out;
    for (uchar b : list)
        out.append(char(b));
    return out;
}

inline QByteArray bytes(const uchar* data, int n)
{
    return QByteArray(reinterpret_cast<const char*>(data), n);
}

// Runs one set row on a fresh fixture and checks the block, the payload frames, the settling
// (the 64 ms sleeps of the settling wait on the worker) and the 8 ms pause on the caller.
inline void verifySetRow(CommandFixture::Device device, const SetCall& call,
                         const QByteArray& block, int payload, bool settle, bool pause)
{
    using T = RecordingBackend::Transfer;
    CommandFixture f(device);
    QByteArray buffer = pattern(512);
    call(f.hid, reinterpret_cast<uchar*>(buffer.data()));
    const QList<int> callerSleeps = f.callerSleeps();
    QVERIFY(f.hid.waitForIdle(5000));

    QCOMPARE(f.wire(T::SendFeature), QList<QByteArray>{QByteArray(1, '\0') + block});
    const QList<QByteArray> frames = f.wire(T::Write);
    const int rl = f.reportLength;
    QCOMPARE(frames.size(), payload == 0 ? 0 : (payload + rl - 1) / rl);
    QByteArray sent;
    for (const QByteArray& frame : frames) {
        QCOMPARE(frame.size(), rl + 1);
        QCOMPARE(frame.at(0), '\0');
        sent += frame.mid(1);
    }
    QCOMPARE(sent.left(payload), buffer.left(payload));
    // A payload shorter than one report travels in one report padded with zeros.
    if (payload < rl)
        QCOMPARE(sent.mid(payload), QByteArray(sent.size() - payload, '\0'));
    QCOMPARE(f.workerSleeps().contains(64), settle);
    QCOMPARE(callerSleeps, pause ? QList<int>{8} : QList<int>{});
    QCOMPARE(f.backend.count(T::GetFeature), 0);
}

// Runs one get row: the device answers `answer` and delivers `bulk`; checks the block sent,
// that the exchange reads exactly what the row asks for and never settles, and the results.
inline void verifyGetRow(CommandFixture::Device device, const GetCall& call,
                         const QByteArray& block, const QByteArray& answer, const QByteArray& bulk,
                         const QByteArray& expected)
{
    using T = RecordingBackend::Transfer;
    CommandFixture f(device);
    f.queueAnswer(answer);
    f.queueBulkIn(bulk);
    const QByteArray results = call(f.hid);

    QCOMPARE(results.toHex(' '), expected.toHex(' '));
    QCOMPARE(f.wire(T::SendFeature), QList<QByteArray>{QByteArray(1, '\0') + block});
    QCOMPARE(f.backend.count(T::GetFeature), 1);
    QCOMPARE(f.backend.count(T::Read), (bulk.size() + f.reportLength - 1) / f.reportLength);
    QCOMPARE(f.backend.count(T::Write), 0);
    QVERIFY(!f.workerSleeps().contains(64));
    QVERIFY(!f.callerSleeps().contains(64));
    QVERIFY(f.hid.transportIdle);
}

// Holds the transport as a running exchange would, so the claim runs into its bound. Checks
// the command's own message, that nothing went to the device and what the results hold.
inline void verifyBusyTransport(CommandFixture::Device device, const GetCall& call,
                                const char* message, const QByteArray& expected)
{
    CommandFixture f(device);
    f.hid.transportIdle = false;
    QTest::ignoreMessage(QtDebugMsg, message);
    const QByteArray results = call(f.hid);
    f.hid.transportIdle = true;
    QCOMPARE(results.toHex(' '), expected.toHex(' '));
    QCOMPARE(f.backend.transfers().size(), 0);
}
