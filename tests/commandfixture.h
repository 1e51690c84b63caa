#pragma once

// Fixtures of the command-set tests: a transport wired to a recording backend
// (CommandFixture) or to the virtual mouse (VirtualMouseFixture), and the table-driven checks
// the mouse and keyboard command tests share.

#include "devicerows.h"
#include "devicetable.h"
#include "hid_thread.h"
#include "q7firmware.h"
#include "recordingbackend.h"
#include "virtualmouse.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QtTest>
#include <cstring>
#include <functional>

// A transport wired to a recording backend: one mouse (report length 32) or one keyboard
// (report length 64) as the current device, blocks unscrambled, and every sleep of the
// transport recorded with the thread it happened on. Sleeps return at once unless a test asks
// for real ones.
class CommandFixture
{
public:
    enum Device { Mouse, Keyboard };

    explicit CommandFixture(Device device = Mouse)
    {
        isEncode = false;
        languageChecksumOk = true;
        m_caller = QThread::currentThread();

        const QList<DeviceDescriptor> rows = shippedDeviceRows();
        const DeviceDescriptor& keyboard = rows.at(0);
        const DeviceDescriptor& mouse = rows.at(1);
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

// The transport on the virtual mouse with scrambling on and a six-digit code, as a mouse
// that asks for scrambled reports is driven.
class VirtualMouseFixture
{
public:
    VirtualMouseFixture()
    {
        isEncode = true;
        languageChecksumOk = true;
        std::memset(SecrecyCode, 0, sizeof SecrecyCode);
        std::memcpy(SecrecyCode + 1, "284613", 6);

        hid.setBackend(&mouseDevice);
        // Claim polls and frame pacing take their real time, so a get issued right after a
        // set waits for the set's exchange as it would in use; settling waits are skipped.
        hid.setSleeper([](int ms) {
            if (ms != 64)
                QThread::msleep(ulong(ms));
        });
        hid.enumerateDevices(shippedDeviceRows(VirtualMouse::kReportLength));
        hid.currentDevice = 1;
    }
    ~VirtualMouseFixture()
    {
        hid.waitForIdle(5000);
        isEncode = false;
    }

    Q7Firmware& firmware() { return *static_cast<Q7Firmware*>(mouseDevice.firmware()); }

    VirtualMouse mouseDevice;
    Hid_Thread hid;
};

// --- bytes ---------------------------------------------------------------------------------

// A byte pattern that differs at every position of a 512-byte buffer's first 256 bytes and
// never repeats a neighbour, so a shifted or truncated copy shows.
inline QByteArray pattern(int n, int seed = 1)
{
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i] = char((i * 7 + seed) & 0xFF);
    return out;
}

inline QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

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

// A QByteArray as the caller buffer a command takes.
inline uchar* raw(QByteArray& b)
{
    return reinterpret_cast<uchar*>(b.data());
}

// --- shared checks of the command tables ---------------------------------------------------

// A set command called with a 512-byte caller buffer (ignored by rows without a payload).
using SetCall = std::function<void(Hid_Thread&, uchar*)>;
// A get command called with the caller's presets; returns every result as bytes in order.
using GetCall = std::function<QByteArray(Hid_Thread&)>;
Q_DECLARE_METATYPE(SetCall)
Q_DECLARE_METATYPE(GetCall)

// A bulk get into a caller buffer that starts as `mine`; the result is the buffer afterwards.
inline GetCall bulkGet(const SetCall& command, const QByteArray& mine)
{
    return GetCall([command, mine](Hid_Thread& h) {
        QByteArray buf = mine;
        command(h, raw(buf));
        return buf;
    });
}

// A set command as a call with no results, for the tables that mix sets and gets.
inline GetCall asGet(const SetCall& command)
{
    return GetCall([command](Hid_Thread& h) {
        QByteArray buf = pattern(512);
        command(h, raw(buf));
        return QByteArray();
    });
}

// Columns: call (SetCall), block, payload (bytes sent), settle, pause (8 ms on the caller).
inline void addSetColumns()
{
    QTest::addColumn<SetCall>("call");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("payload");
    QTest::addColumn<bool>("settle");
    QTest::addColumn<bool>("pause");
}

// Runs the current set row on a fresh fixture and checks the block, the payload frames, the
// settling (the 64 ms sleeps of the settling wait on the worker) and the 8 ms pause on the
// caller.
inline void verifySetRow(CommandFixture::Device device)
{
    using T = RecordingBackend::Transfer;
    QFETCH(SetCall, call);
    QFETCH(QByteArray, block);
    QFETCH(int, payload);
    QFETCH(bool, settle);
    QFETCH(bool, pause);

    CommandFixture f(device);
    QByteArray buffer = pattern(512);
    call(f.hid, raw(buffer));
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

// Columns: call (GetCall), block, answer (the device's answer block), bulk (the input
// reports' data), expected (the results).
inline void addGetColumns()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("bulk");
    QTest::addColumn<QByteArray>("expected");
}

// Runs the current get row: the device answers `answer` and delivers `bulk`; checks the block
// sent, that the exchange reads exactly what the row asks for and never settles, and the
// results.
inline void verifyGetRow(CommandFixture::Device device)
{
    using T = RecordingBackend::Transfer;
    QFETCH(GetCall, call);
    QFETCH(QByteArray, block);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, bulk);
    QFETCH(QByteArray, expected);

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

// Columns: call (GetCall), expected (the results).
inline void addResultColumns()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("expected");
}

// Runs the current row with the device gone, after an earlier exchange left a full answer
// block and payload behind, so a get that reads stale buffers instead of its own preset shows.
inline void verifyNoDevice(CommandFixture::Device device)
{
    using T = RecordingBackend::Transfer;
    QFETCH(GetCall, call);
    QFETCH(QByteArray, expected);

    CommandFixture f(device);
    f.queueAnswer(QByteArray(8, char(0x5A)));
    f.queueBulkIn(QByteArray(512, char(0x5A)));
    QVERIFY(f.hid.acquireTransport());
    QVERIFY(f.hid.receiveExchange(512));
    QCOMPARE(bytes(f.hid.answerBlock, 8), QByteArray(8, char(0x5A)));
    QCOMPARE(bytes(f.hid.payloadBuffer, 512), QByteArray(512, char(0x5A)));

    f.backend.setOpenFails(true);
    f.backend.clear();
    QCOMPARE(call(f.hid).toHex(' '), expected.toHex(' '));
    QCOMPARE(f.backend.count(T::SendFeature), 0);
    QVERIFY(f.hid.transportIdle);
}

// Columns: call (GetCall), delivered (the input reports' data before the device falls
// silent), expected (the results).
inline void addStopsEarlyColumns()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("delivered");
    QTest::addColumn<QByteArray>("expected");
}

// Runs the current bulk get row on a device whose input reports stop after `delivered`.
inline void verifyBulkStopsEarly(CommandFixture::Device device)
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, delivered);
    QFETCH(QByteArray, expected);

    CommandFixture f(device);
    f.queueAnswer(hex("9901"));
    f.queueBulkIn(delivered);
    QCOMPARE(call(f.hid).toHex(' '), expected.toHex(' '));
    QVERIFY(f.hid.transportIdle);
}

// Columns: call (GetCall), message (the debug line), expected (the results).
inline void addBusyColumns()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("expected");
}

// Runs the current row while the transport is held as a running exchange would hold it, so
// the claim runs into its bound. Checks the command's own message, that nothing went to the
// device and what the results hold.
inline void verifyBusyTransport(CommandFixture::Device device)
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, expected);

    CommandFixture f(device);
    f.hid.transportIdle = false;
    QTest::ignoreMessage(QtDebugMsg, message.constData());
    const QByteArray results = call(f.hid);
    f.hid.transportIdle = true;
    QCOMPARE(results.toHex(' '), expected.toHex(' '));
    QCOMPARE(f.backend.transfers().size(), 0);
}
