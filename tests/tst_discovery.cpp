// Finding the mouse among the attached interfaces, the acceptance, and the device monitor.
#include "devicerows.h"
#include "hid_thread.h"
#include "recordingbackend.h"
#include "virtualmouse.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>
#include <cstring>

using Transfer = RecordingBackend::Transfer;
using Iface = QPair<QByteArray, QPair<int, int>>; // path, (usage page, usage)
Q_DECLARE_METATYPE(QList<Iface>)

namespace
{

// Waits (bounded) until the condition holds, keeping events going.
template <typename F> bool waitFor(F condition, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(5);
    }
    return true;
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString config(const QByteArray& text)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QStringLiteral("ap%1.bin").arg(++n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(text);
        return path;
    }

private slots:
    void init()
    {
        languageChecksumOk = true;
        isEncode = false;
    }

    void matching_data()
    {
        QTest::addColumn<QList<Iface>>("interfaces");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("event");

        auto i = [](const char* path, int page, int usage) {
            return Iface(QByteArray(path), qMakePair(page, usage));
        };
        QTest::newRow("both interfaces")
            << QList<Iface>{i("a", 0xff00, 0xff00), i("b", 0xff01, 0xff01)} << "a"
            << "b";
        QTest::newRow("event listed first")
            << QList<Iface>{i("b", 0xff01, 0xff01), i("a", 0xff00, 0xff00)} << "a"
            << "b";
        QTest::newRow("later command interface wins")
            << QList<Iface>{i("a1", 0xff00, 0xff00), i("b", 0xff01, 0xff01),
                            i("a2", 0xff00, 0xff00)}
            << "a2"
            << "b";
        QTest::newRow("later event interface wins")
            << QList<Iface>{i("b1", 0xff01, 0xff01), i("a", 0xff00, 0xff00),
                            i("b2", 0xff01, 0xff01)}
            << "a"
            << "b2";
        QTest::newRow("unrelated interfaces are skipped")
            << QList<Iface>{i("k", 0x0001, 0x0002), i("a", 0xff00, 0xff00), i("x", 0xff00, 0xff01),
                            i("b", 0xff01, 0xff01)}
            << "a"
            << "b";
        QTest::newRow("no event interface") << QList<Iface>{i("a", 0xff00, 0xff00)} << ""
                                            << "";
        QTest::newRow("no command interface") << QList<Iface>{i("b", 0xff01, 0xff01)} << ""
                                              << "";
        QTest::newRow("nothing attached") << QList<Iface>{} << ""
                                          << "";
    }
    void matching()
    {
        QFETCH(QList<Iface>, interfaces);
        QFETCH(QString, command);
        QFETCH(QString, event);
        RecordingBackend backend;
        for (const Iface& f : interfaces)
            backend.addInterface(RecordingBackend::makeInterface(
                f.first, 0x04d9, 0xa09f, quint16(f.second.first), quint16(f.second.second)));
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.enumerateDevices(shippedDeviceRows());
        const QList<DeviceRecord> records = hid.deviceRecords();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(1).commandPath, command);
        QCOMPARE(records.at(1).eventPath, event);
    }

    void oneInterfaceCanServeBothPairs()
    {
        RecordingBackend backend;
        QList<DeviceDescriptor> t = shippedDeviceRows();
        t[1].usagePage2 = t[1].usagePage;
        t[1].usage2 = t[1].usage;
        backend.addInterface(
            RecordingBackend::makeInterface("both", 0x04d9, 0xa09f, 0xff00, 0xff00));
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.enumerateDevices(t);
        QCOMPARE(hid.deviceRecords().at(1).commandPath, QStringLiteral("both"));
        QCOMPARE(hid.deviceRecords().at(1).eventPath, QStringLiteral("both"));
    }

    void recordsCopyTheTable()
    {
        RecordingBackend backend;
        backend.addMouseInterfaces();
        // The keyboard is attached too, but only the mouse row is ever searched for.
        backend.addInterface(RecordingBackend::makeInterface("kc", 0x04d9, 0x8008, 0xff01, 0x0001));
        backend.addInterface(RecordingBackend::makeInterface("ke", 0x04d9, 0x8008, 0xff02, 0x0001));
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.enumerateDevices(shippedDeviceRows());
        const QList<DeviceRecord> r = hid.deviceRecords();
        QCOMPARE(r.size(), 2);
        QCOMPARE(r.at(0).index, 0);
        QCOMPARE(r.at(0).name, QStringLiteral("Keyboard"));
        QCOMPARE(r.at(0).type, 0);
        QCOMPARE(r.at(0).reportLength, 64u);
        QVERIFY(r.at(0).commandPath.isEmpty());
        QVERIFY(r.at(0).eventPath.isEmpty());
        QCOMPARE(r.at(1).index, 1);
        QCOMPARE(r.at(1).name, QStringLiteral("Q7"));
        QCOMPARE(r.at(1).type, 1);
        QCOMPARE(r.at(1).reportLength, 32u);
        QCOMPARE(r.at(1).commandPath, QStringLiteral("cmd"));
    }

    void onlyRowOneIsSearched()
    {
        RecordingBackend backend;
        backend.addMouseInterfaces();
        QList<DeviceDescriptor> t = shippedDeviceRows();
        t[0] = t[1]; // row 0 now describes the attached mouse
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.enumerateDevices(t);
        QVERIFY(hid.deviceRecords().at(0).commandPath.isEmpty());
        QCOMPARE(hid.deviceRecords().at(1).commandPath, QStringLiteral("cmd"));

        hid.enumerateDevices(t.mid(0, 1)); // a table with the mouse as its only row
        QCOMPARE(hid.deviceRecords().size(), 1);
        QVERIFY(hid.deviceRecords().at(0).commandPath.isEmpty());
    }

    void acceptance_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("connected");
        QTest::newRow("mouse attached") << true << true << true;
        QTest::newRow("mouse absent") << false << true << false;
        QTest::newRow("interface will not open") << true << false << false;
    }
    void acceptance()
    {
        QFETCH(bool, present);
        QFETCH(bool, opens);
        QFETCH(bool, connected);
        RecordingBackend backend;
        if (present)
            backend.addMouseInterfaces();
        backend.setOpenFails(!opens);
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.setConfigPath(config("[common]\nsCode1=abcdef\n"));
        hid.enumerateDevices(shippedDeviceRows());
        deviceConnected = !connected;
        hid.swichCurDevice(hid.currentDevice);
        QCOMPARE(deviceConnected, connected);
        QVERIFY(!hid.isMonitorRunning());
        QCOMPARE(backend.openDevices(), 0);
        QCOMPARE(backend.count(Transfer::Open), present ? 1 : 0);
        QCOMPARE(backend.count(Transfer::Close), connected ? 1 : 0);
        // A failed open forgets the path until the next check.
        QCOMPARE(hid.deviceRecords().at(1).commandPath.isEmpty(), !connected);
        // The code is loaded before the device is opened, found or not.
        QCOMPARE(QByteArray(reinterpret_cast<char*>(SecrecyCode) + 1, 6), QByteArray("abcdef"));
    }

    void secondCheckRebuildsTheSameRecords()
    {
        RecordingBackend backend;
        backend.addMouseInterfaces();
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.setConfigPath(config(""));
        hid.enumerateDevices(shippedDeviceRows());
        hid.swichCurDevice(hid.currentDevice);
        const QList<DeviceRecord> first = hid.deviceRecords();
        hid.enumerateDevices(shippedDeviceRows());
        hid.swichCurDevice(hid.currentDevice);
        const QList<DeviceRecord> second = hid.deviceRecords();
        QCOMPARE(second.size(), first.size());
        for (int n = 0; n < first.size(); ++n) {
            QCOMPARE(second.at(n).commandPath, first.at(n).commandPath);
            QCOMPARE(second.at(n).eventPath, first.at(n).eventPath);
        }
        QCOMPARE(hid.currentDevice, 1u);
        QVERIFY(!hid.isMonitorRunning());
        QVERIFY(deviceConnected);
    }

    void switchingToTheKeyboardRow()
    {
        RecordingBackend backend;
        backend.addMouseInterfaces();
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.setConfigPath(config("[common]\nsCode0=kbcode\nsCode1=mscode\n"));
        hid.enumerateDevices(shippedDeviceRows());
        hid.swichCurDevice(0);
        QCOMPARE(hid.currentDevice, 0u);
        QVERIFY(!deviceConnected);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(SecrecyCode) + 1, 6), QByteArray("kbcode"));
        // The monitor for row 0 finds no event path and ends without touching the mouse.
        hid.stopMonitor();
        QCOMPARE(backend.count(Transfer::Read), 0);
        QCOMPARE(backend.count(Transfer::Open), 0);
    }

    void codeLoadedOnlyForTheTwoRows()
    {
        RecordingBackend backend;
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.setConfigPath(config("[common]\nsCode5=zzzzzz\n"));
        hid.enumerateDevices(shippedDeviceRows());
        std::memcpy(SecrecyCode, "\0keepme\0", 8);
        hid.swichCurDevice(5);
        hid.stopMonitor();
        QCOMPARE(QByteArray(reinterpret_cast<char*>(SecrecyCode) + 1, 6), QByteArray("keepme"));
        QVERIFY(!deviceConnected);
    }

    void monitorSettleReport_data()
    {
        QTest::addColumn<QByteArray>("report"); // empty: the read times out
        QTest::addColumn<bool>("settled");
        QTest::newRow("settle report") << QByteArray::fromHex("04040000") << true;
        QTest::newRow("longer report starting with it")
            << QByteArray::fromHex("04040000ff") << true;
        QTest::newRow("last byte differs") << QByteArray::fromHex("04040001") << false;
        QTest::newRow("first byte differs") << QByteArray::fromHex("05040000") << false;
        QTest::newRow("too short") << QByteArray::fromHex("040400") << false;
        QTest::newRow("timeout") << QByteArray() << false;
    }
    void monitorSettleReport()
    {
        QFETCH(QByteArray, report);
        QFETCH(bool, settled);
        RecordingBackend backend;
        backend.addMouseInterfaces();
        backend.setStallSleepCapMs(5);
        if (!report.isEmpty())
            backend.queueInputReport(report, "evt");
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.enumerateDevices(shippedDeviceRows());
        hid.settled = false;
        hid.startMonitor(1);
        QVERIFY(hid.isMonitorRunning());
        QVERIFY(waitFor([&] { return backend.count(Transfer::Read) >= 2; }));
        hid.stopMonitor();
        QCOMPARE(bool(hid.settled), settled);
        const QList<Transfer> reads = backend.transfersOfKind(Transfer::Read);
        for (const Transfer& t : reads) {
            QCOMPARE(t.path, QByteArray("evt"));
            QCOMPARE(t.timeoutMs, Hid_Thread::kMonitorReadTimeoutMs);
        }
        // Each pass opens and closes the event interface.
        QCOMPARE(backend.openDevices(), 0);
        QVERIFY(backend.count(Transfer::Open) >= reads.size());
    }

    void monitorEndsWhenTheMouseIsGone()
    {
        RecordingBackend backend;
        backend.addMouseInterfaces();
        backend.setStallSleepCapMs(5);
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.enumerateDevices(shippedDeviceRows());
        QTest::ignoreMessage(QtDebugMsg, "Device removed");
        hid.startMonitor(1);
        QVERIFY(waitFor([&] { return backend.count(Transfer::Read) >= 1; }));
        backend.setOpenFails(true);
        QVERIFY(waitFor([&] { return !hid.isMonitorRunning(); }));
        hid.stopMonitor();
        QVERIFY(hid.deviceRecords().at(1).eventPath.isEmpty());
        QCOMPARE(hid.deviceRecords().at(1).commandPath, QStringLiteral("cmd"));
    }

    // A read that fails at once while the interface still opens must not spin the task.
    void monitorPacesFailingReads()
    {
        RecordingBackend backend;
        backend.addMouseInterfaces();
        backend.setFailOnTransfer(1, true);
        Hid_Thread hid;
        hid.setBackend(&backend);
        hid.enumerateDevices(shippedDeviceRows());
        hid.startMonitor(1);
        QTest::qWait(300);
        hid.stopMonitor();
        QVERIFY2(backend.count(Transfer::Read) <= 2,
                 qPrintable(QString::number(backend.count(Transfer::Read))));
    }

    void stopMonitorIsPrompt()
    {
        VirtualMouse mouse; // its event reads wait their full bound
        Hid_Thread hid;
        hid.setBackend(&mouse);
        hid.enumerateDevices(shippedDeviceRows());
        hid.startMonitor(1);
        QTest::qWait(50);
        QElapsedTimer t;
        t.start();
        hid.stopMonitor();
        QVERIFY(t.elapsed() < Hid_Thread::kMonitorReadTimeoutMs + 300);
        QVERIFY(!hid.isMonitorRunning());
    }

    // With the monitor running, a settling wait ends after one period.
    void monitorShortensTheSettlingWait()
    {
        VirtualMouse mouse;
        Hid_Thread hid;
        hid.setBackend(&mouse);
        hid.enumerateDevices(shippedDeviceRows());
        hid.currentDevice = 1;
        hid.startMonitor(1);
        QTest::qWait(20);
        hid.commandBlock[0] = 0x0b;
        hid.commandBlock[1] = 0x02;
        hid.commandBlock[7] = hid.hidCS(hid.commandBlock);
        hid.transportIdle = false;
        QElapsedTimer t;
        t.start();
        QVERIFY(hid.sendExchange(0, true));
        const qint64 took = t.elapsed();
        hid.stopMonitor();
        QVERIFY2(took >= 64 && took < 120, qPrintable(QString::number(took)));
    }

    // Checks on the GUI thread replace the list while exchanges and the monitor run.
    void checksDuringExchanges()
    {
        VirtualMouse mouse;
        Hid_Thread hid;
        hid.setBackend(&mouse);
        hid.setConfigPath(config(""));
        hid.setSleeper([](int) { QThread::msleep(1); });
        hid.enumerateDevices(shippedDeviceRows());
        hid.startMonitor(1);
        for (int round = 0; round < 200; ++round) {
            QVERIFY(hid.acquireTransport());
            hid.commandBlock[0] = 0x13;
            hid.commandBlock[1] = 1;
            hid.commandBlock[2] = 0x80;
            hid.startSendExchange(128, true);
            hid.enumerateDevices(shippedDeviceRows());
            hid.swichCurDevice(1);
            if (round % 50 == 0)
                hid.enumerateDevices({});
        }
        QVERIFY(hid.waitForIdle(5000));
        hid.stopMonitor();
        QVERIFY(hid.transportIdle);
    }
};

QTEST_MAIN(TestDiscovery)
#include "tst_discovery.moc"
