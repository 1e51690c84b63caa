// The virtual mouse at transport level: its interfaces, the scrambling it undoes and
// applies, bulk framing, the settle report, and each of its faults.
#include "blockscrambler.h"
#include "devicerows.h"
#include "devicetable.h"
#include "firmwaremodel.h"
#include "hid_thread.h"
#include "virtualmouse.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QQueue>
#include <QtTest>
#include <cstring>
#include <memory>

namespace
{

// Records what reaches the firmware and answers from fixed data.
class ScriptedFirmware : public FirmwareModel
{
public:
    QList<QByteArray> commands;
    QList<QByteArray> bulkOut;
    QQueue<QByteArray> bulkIn;
    QByteArray answerBlock = QByteArray::fromHex("9108000000000066");

    void onCommand(const unsigned char block[8]) override
    {
        commands.append(QByteArray(reinterpret_cast<const char*>(block), 8));
    }
    void answer(unsigned char block[8]) override { std::memcpy(block, answerBlock.constData(), 8); }
    void onBulkOut(const unsigned char* data, int length) override
    {
        bulkOut.append(QByteArray(reinterpret_cast<const char*>(data), length));
    }
    bool nextBulkIn(unsigned char* data, int length) override
    {
        if (bulkIn.isEmpty())
            return false;
        std::memcpy(data, bulkIn.dequeue().leftJustified(length, '\0').constData(), size_t(length));
        return true;
    }
};

const unsigned char kCode[8] = {0, '2', '8', '4', '6', '1', '3', 0};

QByteArray scrambled(QByteArray block, const unsigned char code[8] = kCode)
{
    BlockScrambler::scramble(reinterpret_cast<unsigned char*>(block.data()), code);
    return block;
}

QByteArray report(const QByteArray& block)
{
    return QByteArray(1, '\0') + block;
}

int send(HidDevice* d, const QByteArray& r)
{
    return d->sendFeatureReport(reinterpret_cast<const unsigned char*>(r.constData()),
                                size_t(r.size()));
}

QByteArray getAnswer(HidDevice* d, int* result = nullptr)
{
    unsigned char buf[9] = {};
    const int n = d->getFeatureReport(buf, 9);
    if (result)
        *result = n;
    return n == 9 ? QByteArray(reinterpret_cast<char*>(buf) + 1, 8) : QByteArray();
}

int write(HidDevice* d, const QByteArray& frame)
{
    return d->write(reinterpret_cast<const unsigned char*>(frame.constData()),
                    size_t(frame.size()));
}

} // namespace

class TestVirtualMouse : public QObject
{
    Q_OBJECT

    std::unique_ptr<VirtualMouse> m_mouse;
    ScriptedFirmware m_fw;

private slots:
    void init()
    {
        isEncode = false;
        std::memcpy(SecrecyCode, kCode, 8);
        m_mouse.reset(new VirtualMouse);
        m_fw = ScriptedFirmware();
        m_mouse->setFirmware(&m_fw);
    }

    void interfaces()
    {
        const QList<HidInterfaceInfo> list =
            m_mouse->enumerate(VirtualMouse::kVendorId, VirtualMouse::kProductId);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0).path, VirtualMouse::kCommandPath);
        QCOMPARE(list.at(0).usagePage, quint16(0xff00));
        QCOMPARE(list.at(0).usage, quint16(0xff00));
        QCOMPARE(list.at(1).path, VirtualMouse::kEventPath);
        QCOMPARE(list.at(1).usagePage, quint16(0xff01));
        QCOMPARE(list.at(1).usage, quint16(0xff01));
        QVERIFY(m_mouse->enumerate(0x04d9, 0x8008).isEmpty());
        QVERIFY(!m_mouse->open("elsewhere"));
        std::unique_ptr<HidDevice> d(m_mouse->open(VirtualMouse::kCommandPath));
        QVERIFY(d);
        QCOMPARE(d->setBlocking(true), 0);
    }

    void ownFirmwareByDefault()
    {
        VirtualMouse mouse;
        QVERIFY(mouse.firmware() != nullptr);
        mouse.setFirmware(&m_fw);
        QCOMPARE(mouse.firmware(), static_cast<FirmwareModel*>(&m_fw));
        mouse.setFirmware(nullptr);
        QVERIFY(mouse.firmware() != &m_fw);
    }

    void scrambling_data()
    {
        QTest::addColumn<bool>("encode");
        QTest::addColumn<QByteArray>("givenCode"); // empty: the process-wide code
        QTest::newRow("plain") << false << QByteArray();
        QTest::newRow("process code") << true << QByteArray();
        QTest::newRow("given code") << true << QByteArray("Zq9!x0");
    }
    void scrambling()
    {
        QFETCH(bool, encode);
        QFETCH(QByteArray, givenCode);
        isEncode = encode;
        unsigned char code[8] = {};
        if (givenCode.isEmpty()) {
            std::memcpy(code, kCode, 8);
        } else {
            m_mouse->setCode(givenCode);
            std::memcpy(code + 1, givenCode.constData(), 6);
        }
        std::unique_ptr<HidDevice> d(m_mouse->open(VirtualMouse::kCommandPath));
        const QByteArray block = QByteArray::fromHex("0b020000000000f2");
        QCOMPARE(send(d.get(), report(encode ? scrambled(block, code) : block)), 9);
        QCOMPARE(m_fw.commands.size(), 1);
        QCOMPARE(m_fw.commands.at(0).toHex(), block.toHex());
        const QByteArray wire = getAnswer(d.get());
        QCOMPARE(wire.toHex(),
                 (encode ? scrambled(m_fw.answerBlock, code) : m_fw.answerBlock).toHex());
    }

    void bulk()
    {
        std::unique_ptr<HidDevice> d(m_mouse->open(VirtualMouse::kCommandPath));
        QByteArray frame(33, '\0');
        for (int i = 1; i < 33; ++i)
            frame[i] = char(i);
        QCOMPARE(write(d.get(), frame), 33);
        QCOMPARE(m_fw.bulkOut.size(), 1);
        QCOMPARE(m_fw.bulkOut.at(0), frame.mid(1));
        // Frames of another size, or with another report id, are refused.
        QCOMPARE(write(d.get(), frame.left(32)), -1);
        QCOMPARE(write(d.get(), QByteArray(65, '\0')), -1);
        frame[0] = 1;
        QCOMPARE(write(d.get(), frame), -1);
        QCOMPARE(m_fw.bulkOut.size(), 1);

        m_fw.bulkIn.enqueue(QByteArray(32, '\x5a'));
        unsigned char in[33] = {};
        QCOMPARE(d->readTimeout(in, 33, 100), 32);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(in), 32), QByteArray(32, '\x5a'));
        QElapsedTimer t;
        t.start();
        QCOMPARE(d->readTimeout(in, 33, 80), 0);
        QVERIFY(t.elapsed() >= 75);
    }

    void settleReport()
    {
        m_mouse->setSettleDelayMs(20);
        std::unique_ptr<HidDevice> evt(m_mouse->open(VirtualMouse::kEventPath));
        std::unique_ptr<HidDevice> cmd(m_mouse->open(VirtualMouse::kCommandPath));
        unsigned char r[4] = {};
        QCOMPARE(evt->readTimeout(r, 4, 50), 0); // nothing happened yet

        QElapsedTimer t;
        t.start();
        QCOMPARE(send(cmd.get(), report(QByteArray::fromHex("0b020000000000f2"))), 9);
        QCOMPARE(evt->readTimeout(r, 4, 500), 4);
        QVERIFY2(t.elapsed() >= 15 && t.elapsed() < 400, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(r), 4), QByteArray::fromHex("04040000"));
        QCOMPARE(evt->readTimeout(r, 4, 30), 0); // one report per command
        // The event interface carries no command traffic.
        QCOMPARE(send(evt.get(), report(QByteArray(8, '\0'))), -1);
    }

    void absent()
    {
        m_mouse->setPresent(false);
        QVERIFY(m_mouse->enumerate(VirtualMouse::kVendorId, VirtualMouse::kProductId).isEmpty());
        QVERIFY(!m_mouse->open(VirtualMouse::kCommandPath));
        m_mouse->setPresent(true);
        QVERIFY(m_mouse->open(VirtualMouse::kCommandPath) != nullptr);
    }

    void unplugAfterTransfers()
    {
        std::unique_ptr<HidDevice> d(m_mouse->open(VirtualMouse::kCommandPath));
        m_mouse->setUnplugAfter(2);
        const QByteArray r = report(QByteArray::fromHex("0b020000000000f2"));
        QCOMPARE(send(d.get(), r), 9);
        QCOMPARE(send(d.get(), r), 9);
        QCOMPARE(send(d.get(), r), -1);
        int result = 0;
        getAnswer(d.get(), &result);
        QCOMPARE(result, -1);
        QVERIFY(!m_mouse->isPresent());
        QVERIFY(!m_mouse->open(VirtualMouse::kCommandPath));
        QVERIFY(m_mouse->enumerate(VirtualMouse::kVendorId, VirtualMouse::kProductId).isEmpty());
        QCOMPARE(m_fw.commands.size(), 2);
    }

    void unplugWakesAWaitingRead()
    {
        std::unique_ptr<HidDevice> evt(m_mouse->open(VirtualMouse::kEventPath));
        QTimer::singleShot(50, [this] { m_mouse->setPresent(false); });
        QElapsedTimer t;
        t.start();
        unsigned char r[4];
        int n = 0;
        QThread* reader = QThread::create([&] { n = evt->readTimeout(r, 4, 2000); });
        reader->start();
        QVERIFY(QTest::qWaitFor([&] { return reader->isFinished(); }, 3000));
        delete reader;
        QCOMPARE(n, -1);
        QVERIFY(t.elapsed() < 1500);
    }

    void stalledReads()
    {
        m_mouse->setStallReads(true);
        m_fw.bulkIn.enqueue(QByteArray(32, '\x01'));
        std::unique_ptr<HidDevice> d(m_mouse->open(VirtualMouse::kCommandPath));
        unsigned char in[33];
        QElapsedTimer t;
        t.start();
        QCOMPARE(d->readTimeout(in, 33, 120), 0);
        QVERIFY(t.elapsed() >= 115);
        m_mouse->setStallReads(false);
        QCOMPARE(d->readTimeout(in, 33, 120), 32);
    }

    void writeErrors()
    {
        m_mouse->setWriteErrors(true);
        std::unique_ptr<HidDevice> d(m_mouse->open(VirtualMouse::kCommandPath));
        QCOMPARE(send(d.get(), report(QByteArray(8, '\0'))), -1);
        QCOMPARE(write(d.get(), QByteArray(33, '\0')), -1);
        QVERIFY(m_fw.commands.isEmpty());
        QVERIFY(m_fw.bulkOut.isEmpty());
        int result = 0;
        getAnswer(d.get(), &result);
        QCOMPARE(result, 9); // reads still work
    }

    void latency()
    {
        m_mouse->setLatencyMs(30);
        std::unique_ptr<HidDevice> d(m_mouse->open(VirtualMouse::kCommandPath));
        QElapsedTimer t;
        t.start();
        send(d.get(), report(QByteArray(8, '\0')));
        getAnswer(d.get());
        QVERIFY2(t.elapsed() >= 60, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(m_mouse->transferCount(), 2);
    }

    // The transport and the mouse agree on the wire format, scrambled or not.
    void transportRoundTrip_data()
    {
        QTest::addColumn<bool>("encode");
        QTest::newRow("plain") << false;
        QTest::newRow("scrambled") << true;
    }
    void transportRoundTrip()
    {
        QFETCH(bool, encode);
        isEncode = encode;
        Hid_Thread hid;
        hid.setBackend(m_mouse.get());
        hid.setSleeper([](int) {});
        hid.enumerateDevices(shippedDeviceRows());
        hid.currentDevice = 1;

        const uchar set[7] = {0x13, 0x02, 0x80, 0, 0, 0, 0};
        std::memcpy(hid.commandBlock, set, 7);
        hid.commandBlock[7] = hid.hidCS(hid.commandBlock);
        const QByteArray plainSet(reinterpret_cast<char*>(hid.commandBlock), 8);
        for (int i = 0; i < 128; ++i)
            hid.payloadBuffer[i] = uchar(255 - i);
        const QByteArray macro(reinterpret_cast<char*>(hid.payloadBuffer), 128);
        hid.transportIdle = false;
        QVERIFY(hid.sendExchange(128, true));
        QCOMPARE(m_fw.commands.value(0).toHex(), plainSet.toHex());
        QCOMPARE(m_fw.bulkOut.size(), 4);
        QCOMPARE(m_fw.bulkOut.join(), macro);

        m_fw.bulkIn.enqueue(macro.left(32));
        m_fw.bulkIn.enqueue(macro.mid(32, 32));
        std::memset(hid.payloadBuffer, 0, 512);
        const uchar get[7] = {0x91, 0, 0, 0, 0, 0, 0};
        std::memcpy(hid.commandBlock, get, 7);
        hid.commandBlock[7] = hid.hidCS(hid.commandBlock);
        hid.transportIdle = false;
        QVERIFY(hid.receiveExchange(64));
        QCOMPARE(m_fw.commands.value(1).toHex(), QByteArray::fromHex("910000000000006e").toHex());
        QCOMPARE(QByteArray(reinterpret_cast<char*>(hid.answerBlock), 8).toHex(),
                 m_fw.answerBlock.toHex());
        QCOMPARE(QByteArray(reinterpret_cast<char*>(hid.payloadBuffer), 64), macro.left(64));
    }

    void transportSeesTheFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("absent") << "absent";
        QTest::newRow("unplugged mid-payload") << "unplug";
        QTest::newRow("write errors") << "write";
    }
    void transportSeesTheFaults()
    {
        QFETCH(QString, fault);
        Hid_Thread hid;
        hid.setBackend(m_mouse.get());
        hid.setSleeper([](int) {});
        hid.enumerateDevices(shippedDeviceRows());
        hid.currentDevice = 1;
        if (fault == QLatin1String("absent"))
            m_mouse->setPresent(false);
        else if (fault == QLatin1String("unplug"))
            m_mouse->setUnplugAfter(2);
        else
            m_mouse->setWriteErrors(true);
        hid.commandBlock[0] = 0x12;
        hid.transportIdle = false;
        QVERIFY(!hid.sendExchange(64, true));
        QVERIFY(hid.transportIdle);
        QVERIFY(m_fw.bulkOut.size() < 2);
    }
};

QTEST_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
