// The report transport: checksum, scrambling, framing of both exchanges, the claim, the
// settling wait, the bounds and the failure paths.
#include "blockscrambler.h"
#include "devicerows.h"
#include "hid_thread.h"
#include "recordingbackend.h"
#include "virtualmouse.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTimer>
#include <QtConcurrent>
#include <QtTest>
#include <cstring>
#include <functional>
#include <memory>

using Transfer = RecordingBackend::Transfer;

namespace
{

const QByteArray kCmd = QByteArrayLiteral("cmd");
const unsigned char kCode[8] = {0, '2', '8', '4', '6', '1', '3', 0};

// The mouse behind a recording backend, a transport addressing it, and a sleeper that
// records instead of sleeping.
struct Rig {
    RecordingBackend backend;
    Hid_Thread hid;
    QList<int> sleeps;

    explicit Rig(quint32 reportLength = 32, bool realSleeps = false)
    {
        backend.addMouseInterfaces();
        hid.setBackend(&backend);
        if (!realSleeps)
            hid.setSleeper([this](int ms) { sleeps.append(ms); });
        hid.enumerateDevices(shippedDeviceRows(reportLength));
        hid.currentDevice = 1;
        backend.clear();
    }

    void build(const QByteArray& block7)
    {
        hid.reports.outReportId = 0;
        std::memcpy(hid.commandBlock, block7.constData(), 7);
        hid.commandBlock[7] = hid.hidCS(hid.commandBlock);
    }
    void fillPayload()
    {
        for (int i = 0; i < 512; ++i)
            hid.payloadBuffer[i] = uchar(i * 7 + 3);
    }
    QByteArray payload(int from, int n) const
    {
        return QByteArray(reinterpret_cast<const char*>(hid.payloadBuffer) + from, n);
    }
};

QByteArray scrambled(QByteArray block)
{
    BlockScrambler::scramble(reinterpret_cast<unsigned char*>(block.data()), kCode);
    return block;
}

// Runs an exchange on a worker and waits for it at most `ms`. An exchange that loops
// without end cannot be stopped from outside, so the program stops with a message at once
// rather than hanging the whole test run.
bool runBounded(const std::function<bool()>& exchange, int ms = 3000)
{
    const QFuture<bool> done = QtConcurrent::run(exchange);
    const QDeadlineTimer deadline(ms);
    while (!done.isFinished()) {
        if (deadline.hasExpired())
            qFatal("the exchange did not end within %d ms", ms);
        QThread::msleep(1);
    }
    return done.result();
}

void setGlobals(bool encode)
{
    isEncode = encode;
    std::memcpy(SecrecyCode, kCode, 8);
    languageChecksumOk = true;
}

} // namespace

class TestTransport : public QObject
{
    Q_OBJECT

private slots:
    void init() { setGlobals(false); }

    void checksum_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("expected");
        QTest::newRow("81 get") << QByteArray::fromHex("81000000000000") << 0x7E;
        QTest::newRow("01 01 set") << QByteArray::fromHex("01010000000000") << 0xFD;
        QTest::newRow("12 key matrix") << QByteArray::fromHex("12014008000000") << 0xA4;
        QTest::newRow("80 version") << QByteArray::fromHex("80000000000000") << 0x7F;
        QTest::newRow("sum wraps") << QByteArray::fromHex("ffffffffffffff") << 0x06;
        QTest::newRow("byte 7 ignored") << QByteArray::fromHex("00000000000000ff") << 0xFF;
    }
    void checksum()
    {
        QFETCH(QByteArray, block);
        QFETCH(int, expected);
        Hid_Thread hid;
        unsigned char b[8] = {};
        std::memcpy(b, block.constData(), size_t(block.size()));
        QCOMPARE(int(hid.hidCS(b)), expected);
    }

    // Vectors worked out by hand from the four steps (pair swap, code, rotate left 3, key).
    void scrambleVectors_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("zero block, default code")
            << QByteArray("284613") << QByteArray::fromHex("0000000000000000")
            << QByteArray::fromHex("46a83677b6304c26");
        QTest::newRow("81 get") << QByteArray("284613") << QByteArray::fromHex("810000000000007e")
                                << QByteArray::fromHex("46a9a677ba284c26");
        QTest::newRow("12 key matrix")
            << QByteArray("284613") << QByteArray::fromHex("12014008000000a4")
            << QByteArray::fromHex("46ab5677bec08e26");
        QTest::newRow("all ones") << QByteArray("284613") << QByteArray::fromHex("ffffffffffffffff")
                                  << QByteArray::fromHex("4385b334531d1b25");
        QTest::newRow("zero code") << QByteArray(6, '\0') << QByteArray::fromHex("0b020000000000f2")
                                   << QByteArray::fromHex("451e05d615ffb426");
        QTest::newRow("letters") << QByteArray("ABCxyz") << QByteArray::fromHex("12014008000000a4")
                                 << QByteArray::fromHex("4726a7f1d0024626");
    }
    void scrambleVectors()
    {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, wire);
        Hid_Thread hid;
        uchar c[8] = {};
        std::memcpy(c + 1, code.constData(), 6);
        uchar b[8];
        std::memcpy(b, plain.constData(), 8);
        hid.USBDataEncryption(b, c);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(b), 8).toHex(), wire.toHex());
        hid.USBDataDecipher(b, c);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(b), 8).toHex(), plain.toHex());
    }

    void scrambleRoundTrips()
    {
        QRandomGenerator rng(20261211);
        for (int round = 0; round < 2000; ++round) {
            unsigned char code[8], key[8], block[8], original[8];
            for (int i = 0; i < 8; ++i) {
                code[i] = uchar(rng.bounded(256));
                key[i] = uchar(rng.bounded(256));
                block[i] = original[i] = uchar(rng.bounded(256));
            }
            BlockScrambler::scramble(block, code, key);
            BlockScrambler::unscramble(block, code, key);
            QVERIFY2(std::memcmp(block, original, 8) == 0, qPrintable(QString::number(round)));
        }
    }

    void codeEndsTakeNoPart()
    {
        unsigned char a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        unsigned char b[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        unsigned char codeA[8] = {0, 9, 9, 9, 9, 9, 9, 0};
        unsigned char codeB[8] = {0xAA, 9, 9, 9, 9, 9, 9, 0x55};
        BlockScrambler::scramble(a, codeA);
        BlockScrambler::scramble(b, codeB);
        QVERIFY(std::memcmp(a, b, 8) == 0);
    }

    void sendFraming_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("reportLength");
        QTest::addColumn<bool>("encode");
        QTest::addColumn<bool>("settle");
        QTest::addColumn<int>("frames");

        for (bool encode : {false, true}) {
            const char* e = encode ? "scrambled" : "plain";
            QTest::addRow("0 at 32, %s", e) << 0 << 32 << encode << true << 0;
            QTest::addRow("8 at 32, %s", e) << 8 << 32 << encode << true << 1;
            QTest::addRow("100 at 32, %s", e) << 100 << 32 << encode << true << 4;
            QTest::addRow("512 at 32, %s", e) << 512 << 32 << encode << true << 16;
            QTest::addRow("0 at 64, %s", e) << 0 << 64 << encode << false << 0;
            QTest::addRow("8 at 64, %s", e) << 8 << 64 << encode << false << 1;
            QTest::addRow("100 at 64, %s", e) << 100 << 64 << encode << false << 2;
            QTest::addRow("512 at 64, %s", e) << 512 << 64 << encode << false << 8;
        }
        // Report lengths that do not divide the buffer must not read past it.
        QTest::newRow("512 at 100") << 512 << 100 << false << false << 6;
    }
    void sendFraming()
    {
        QFETCH(int, length);
        QFETCH(int, reportLength);
        QFETCH(bool, encode);
        QFETCH(bool, settle);
        QFETCH(int, frames);
        setGlobals(encode);
        Rig rig{quint32(reportLength)};
        rig.build(QByteArray::fromHex("11080800000000"));
        const QByteArray plain(reinterpret_cast<char*>(rig.hid.commandBlock), 8);
        rig.fillPayload();
        rig.hid.transportIdle = false;

        QVERIFY(rig.hid.sendExchange(length, settle));
        QVERIFY(rig.hid.transportIdle);

        const QList<Transfer> features = rig.backend.transfersOfKind(Transfer::SendFeature);
        QCOMPARE(features.size(), 1);
        const QByteArray wireBlock = encode ? scrambled(plain) : plain;
        QCOMPARE(features.at(0).data.toHex(), (QByteArray(1, '\0') + wireBlock).toHex());

        const QList<Transfer> writes = rig.backend.transfersOfKind(Transfer::Write);
        QCOMPARE(writes.size(), frames);
        const int chunk = qMin(length, reportLength);
        for (int i = 0; i < frames; ++i) {
            const QByteArray& frame = writes.at(i).data;
            QCOMPARE(frame.size(), reportLength + 1);
            QCOMPARE(frame.at(0), '\0');
            const int offset = i * chunk;
            const int inBuffer = qMin(chunk, 512 - offset);
            QCOMPARE(frame.mid(1, inBuffer).toHex(), rig.payload(offset, inBuffer).toHex());
            QCOMPARE(frame.mid(1 + inBuffer), QByteArray(reportLength - inBuffer, '\0'));
        }
        // Every transfer opens the interface anew, after the opening check.
        QCOMPARE(rig.backend.count(Transfer::Open), 2 + frames);
        QCOMPARE(rig.backend.openDevices(), 0);
        QCOMPARE(rig.backend.count(Transfer::GetFeature) + rig.backend.count(Transfer::Read), 0);

        QList<int> expectedSleeps;
        if (settle)
            expectedSleeps << 64 << 64;
        if (length > 0) {
            for (int i = 0; i < frames; ++i)
                expectedSleeps << 8;
            if (settle)
                expectedSleeps << 64 << 64;
        }
        QCOMPARE(rig.sleeps, expectedSleeps);
    }

    void lastFrameCarriesAWholeChunk()
    {
        Rig rig(32);
        rig.build(QByteArray::fromHex("13018000000000"));
        rig.fillPayload();
        rig.hid.transportIdle = false;
        QVERIFY(rig.hid.sendExchange(100, false));
        const QList<Transfer> writes = rig.backend.transfersOfKind(Transfer::Write);
        QCOMPARE(writes.size(), 4);
        QCOMPARE(writes.at(3).data.mid(1).toHex(), rig.payload(96, 32).toHex());
    }

    void framesArePacedWithTheRealClock()
    {
        Rig rig(32, true);
        rig.build(QByteArray::fromHex("13018000000000"));
        rig.fillPayload();
        rig.hid.transportIdle = false;
        QVERIFY(rig.hid.sendExchange(512, false));
        const QList<Transfer> writes = rig.backend.transfersOfKind(Transfer::Write);
        QCOMPARE(writes.size(), 16);
        for (int i = 1; i < writes.size(); ++i)
            QVERIFY2(writes.at(i).msSinceStart - writes.at(i - 1).msSinceStart >= 8,
                     qPrintable(QStringLiteral("frame %1").arg(i)));
        for (int i = 0; i < writes.size(); ++i)
            QCOMPARE(writes.at(i).data.mid(1), rig.payload(i * 32, 32));
    }

    void receiveFraming_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("reportLength");
        QTest::addColumn<bool>("encode");
        QTest::addColumn<int>("reads");

        for (bool encode : {false, true}) {
            const char* e = encode ? "scrambled" : "plain";
            QTest::addRow("0 at 32, %s", e) << 0 << 32 << encode << 0;
            QTest::addRow("8 at 32, %s", e) << 8 << 32 << encode << 1;
            QTest::addRow("64 at 32, %s", e) << 64 << 32 << encode << 2;
            QTest::addRow("100 at 32, %s", e) << 100 << 32 << encode << 4;
            QTest::addRow("512 at 32, %s", e) << 512 << 32 << encode << 16;
            QTest::addRow("512 at 64, %s", e) << 512 << 64 << encode << 8;
        }
        QTest::newRow("512 at 100") << 512 << 100 << false << 6;
    }
    void receiveFraming()
    {
        QFETCH(int, length);
        QFETCH(int, reportLength);
        QFETCH(bool, encode);
        QFETCH(int, reads);
        setGlobals(encode);
        Rig rig{quint32(reportLength)};
        rig.build(QByteArray::fromHex("91000000000000"));
        const QByteArray plainCommand(reinterpret_cast<char*>(rig.hid.commandBlock), 8);
        const QByteArray answer = QByteArray::fromHex("9108000000000066");
        rig.backend.queueFeatureAnswer(QByteArray(1, '\0') + (encode ? scrambled(answer) : answer));
        QByteArray stream;
        for (int i = 0; i < reads; ++i) {
            QByteArray report(reportLength, '\0');
            for (int j = 0; j < reportLength; ++j)
                report[j] = char(i * 16 + j);
            rig.backend.queueInputReport(report, kCmd);
            stream += report.left(qMin(length, reportLength));
        }
        std::memset(rig.hid.payloadBuffer, 0xEE, 512);
        rig.hid.transportIdle = false;

        QVERIFY(rig.hid.receiveExchange(length));
        QVERIFY(rig.hid.transportIdle);

        const QList<Transfer> features = rig.backend.transfersOfKind(Transfer::SendFeature);
        QCOMPARE(features.size(), 1);
        QCOMPARE(features.at(0).data.mid(1), encode ? scrambled(plainCommand) : plainCommand);
        QCOMPARE(rig.backend.count(Transfer::GetFeature), 1);
        // The answer block is plain after every receive, with or without a payload.
        QCOMPARE(QByteArray(reinterpret_cast<char*>(rig.hid.answerBlock), 8).toHex(),
                 answer.toHex());

        const QList<Transfer> inputs = rig.backend.transfersOfKind(Transfer::Read);
        QCOMPARE(inputs.size(), reads);
        for (const Transfer& t : inputs)
            QCOMPARE(t.timeoutMs, Hid_Thread::kBulkReadTimeoutMs);
        const int filled = qMin(512, stream.size());
        QCOMPARE(rig.payload(0, filled).toHex(), stream.left(filled).toHex());
        if (filled < 512)
            QCOMPARE(rig.hid.payloadBuffer[filled], uchar(0xEE));
        QCOMPARE(rig.backend.count(Transfer::Open), 3 + reads);
        QCOMPARE(rig.backend.openDevices(), 0);
        QCOMPARE(rig.backend.count(Transfer::Write), 0);
    }

    void receiveKeepsTheChunksThatArrived()
    {
        Rig rig(32);
        rig.build(QByteArray::fromHex("92010000000000"));
        rig.backend.queueInputReport(QByteArray(32, '\x11'), kCmd);
        std::memset(rig.hid.payloadBuffer, 0x22, 64);
        rig.hid.transportIdle = false;
        QVERIFY(!rig.hid.receiveExchange(64));
        QVERIFY(rig.hid.transportIdle);
        QCOMPARE(rig.payload(0, 32), QByteArray(32, '\x11'));
        QCOMPARE(rig.payload(32, 32), QByteArray(32, '\x22'));
        QCOMPARE(rig.backend.openDevices(), 0);
    }

    // Each fault fails the exchange, sends nothing after it, closes the interface and
    // releases the transport.
    void exchangeFaults_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("features");      // feature reports sent
        QTest::addColumn<int>("dataTransfers"); // writes or reads attempted
        QTest::addColumn<bool>("pathForgotten");

        QTest::newRow("send: device absent") << false << 64 << "open" << 0 << 0 << true;
        QTest::newRow("send: language check failed")
            << false << 64 << "language" << 0 << 0 << false;
        QTest::newRow("send: feature report fails")
            << false << 64 << "transfer 1" << 1 << 0 << false;
        QTest::newRow("send: second frame fails") << false << 64 << "transfer 3" << 1 << 2 << false;
        QTest::newRow("send: unplugged after the block")
            << false << 64 << "open 3" << 1 << 0 << true;
        QTest::newRow("send: negative length") << false << -1 << "none" << 0 << 0 << false;
        QTest::newRow("send: beyond the buffer") << false << 513 << "none" << 0 << 0 << false;
        QTest::newRow("send: report length 0") << false << 8 << "rl0" << 0 << 0 << false;
        QTest::newRow("receive: device absent") << true << 0 << "open" << 0 << 0 << true;
        QTest::newRow("receive: language check failed")
            << true << 0 << "language" << 0 << 0 << false;
        QTest::newRow("receive: answer fails") << true << 0 << "transfer 2" << 1 << 0 << false;
        QTest::newRow("receive: short answer") << true << 0 << "short" << 1 << 0 << false;
        QTest::newRow("receive: input fails") << true << 64 << "transfer 3" << 1 << 1 << false;
        QTest::newRow("receive: report length 0") << true << 8 << "rl0" << 0 << 0 << false;
    }
    void exchangeFaults()
    {
        QFETCH(bool, receive);
        QFETCH(int, length);
        QFETCH(QString, fault);
        QFETCH(int, features);
        QFETCH(int, dataTransfers);
        QFETCH(bool, pathForgotten);

        Rig rig(fault == QLatin1String("rl0") ? 0 : 32);
        for (int i = 0; i < 4; ++i)
            rig.backend.queueInputReport(QByteArray(32, '\x01'), kCmd);
        if (fault == QLatin1String("open"))
            rig.backend.setOpenFails(true);
        else if (fault == QLatin1String("language"))
            languageChecksumOk = false;
        else if (fault == QLatin1String("short"))
            rig.backend.setShortFeatureRead(1);
        else if (fault.startsWith(QLatin1String("transfer ")))
            rig.backend.setFailOnTransfer(fault.mid(9).toInt());
        if (fault == QLatin1String("open 3")) {
            // The interface opens for the check and the block, then the mouse is gone.
            rig.hid.setSleeper([&rig](int) { rig.backend.setOpenFails(true); });
        }
        rig.build(QByteArray::fromHex("12014008000000"));
        rig.hid.transportIdle = false;

        // Bounded: a guard that fails to refuse (report length 0) would loop without end.
        const bool ok = runBounded([&] {
            return receive ? rig.hid.receiveExchange(length) : rig.hid.sendExchange(length, true);
        });
        languageChecksumOk = true;
        QVERIFY(!ok);
        QVERIFY(rig.hid.transportIdle);
        QCOMPARE(rig.backend.count(Transfer::SendFeature), features);
        QCOMPARE(rig.backend.count(Transfer::Write) + rig.backend.count(Transfer::Read),
                 dataTransfers);
        QCOMPARE(rig.backend.openDevices(), 0);
        QCOMPARE(rig.hid.deviceRecords().at(1).commandPath.isEmpty(), pathForgotten);
    }

    void reportLengthZeroStillCarriesBareCommands()
    {
        Rig rig(0);
        rig.build(QByteArray::fromHex("0b020000000000"));
        rig.hid.transportIdle = false;
        QVERIFY(rig.hid.sendExchange(0, false));
        rig.backend.queueFeatureAnswer(QByteArray::fromHex("008b030000000000ff"));
        rig.build(QByteArray::fromHex("8b000000000000"));
        rig.hid.transportIdle = false;
        QVERIFY(rig.hid.receiveExchange(0));
        QCOMPARE(rig.hid.answerBlock[1], uchar(3));
    }

    void stalledInputFailsWithinTheBound()
    {
        VirtualMouse mouse;
        mouse.setStallReads(true);
        Hid_Thread hid;
        hid.setBackend(&mouse);
        hid.enumerateDevices(shippedDeviceRows(VirtualMouse::kReportLength));
        hid.currentDevice = 1;
        hid.commandBlock[0] = 0x92;
        hid.transportIdle = false;
        QElapsedTimer t;
        t.start();
        QVERIFY(!hid.receiveExchange(64));
        const qint64 took = t.elapsed();
        QVERIFY(hid.transportIdle);
        QVERIFY2(took >= Hid_Thread::kBulkReadTimeoutMs - 50, qPrintable(QString::number(took)));
        QVERIFY2(took < Hid_Thread::kBulkReadTimeoutMs + 1000, qPrintable(QString::number(took)));
    }

    void claimWhenIdle()
    {
        Rig rig;
        QVERIFY(rig.hid.acquireTransport());
        QVERIFY(!rig.hid.transportIdle);
        QVERIFY(rig.sleeps.isEmpty());
    }

    void claimGivesUpAfter255Polls()
    {
        Rig rig;
        rig.hid.transportIdle = false;
        QVERIFY(!rig.hid.acquireTransport());
        QCOMPARE(rig.sleeps.size(), 255);
        QVERIFY(rig.sleeps.count(8) == 255);
        QVERIFY(!rig.hid.transportIdle);
    }

    void claimSucceedsOnceReleased()
    {
        Rig rig;
        rig.hid.transportIdle = false;
        rig.hid.setSleeper([&rig](int ms) {
            rig.sleeps.append(ms);
            if (rig.sleeps.size() == 10)
                rig.hid.transportIdle = true;
        });
        QVERIFY(rig.hid.acquireTransport());
        QCOMPARE(rig.sleeps.size(), 10);
        QVERIFY(!rig.hid.transportIdle);
    }

    void claimKeepsTheEventLoopGoing()
    {
        Rig rig;
        rig.hid.transportIdle = false;
        int ran = 0;
        QMetaObject::invokeMethod(
            this, [&ran] { ++ran; }, Qt::QueuedConnection);
        QVERIFY(!rig.hid.acquireTransport());
        QCOMPARE(ran, 1);
    }

    void claimRealBound()
    {
        Rig rig(32, true);
        rig.hid.transportIdle = false;
        QElapsedTimer t;
        t.start();
        QVERIFY(!rig.hid.acquireTransport());
        const qint64 took = t.elapsed();
        QVERIFY2(took >= 255 * 8, qPrintable(QString::number(took)));
        QVERIFY2(took < 255 * 8 + 2000, qPrintable(QString::number(took)));
    }

    void settlingWait_data()
    {
        QTest::addColumn<int>("settleDuringPeriod"); // 0 = never
        QTest::addColumn<int>("periods");
        QTest::newRow("nobody reports") << 0 << 2;
        QTest::newRow("reported in the first period") << 1 << 1;
        QTest::newRow("reported in the second period") << 2 << 2;
    }
    void settlingWait()
    {
        QFETCH(int, settleDuringPeriod);
        QFETCH(int, periods);
        Rig rig;
        rig.hid.settled = true; // a stale report from before must not count
        rig.hid.setSleeper([&](int ms) {
            rig.sleeps.append(ms);
            if (rig.sleeps.size() == settleDuringPeriod)
                rig.hid.settled = true;
        });
        rig.hid.waitQuiet();
        QCOMPARE(rig.sleeps, QVector<int>(periods, 64).toList());
    }

    void setExchangeRunsOnThePool()
    {
        Rig rig;
        QThread* ranOn = nullptr;
        rig.hid.setSleeper([&ranOn](int) { ranOn = QThread::currentThread(); });
        QVERIFY(rig.hid.acquireTransport());
        rig.build(QByteArray::fromHex("0b030000000000"));
        rig.hid.startSendExchange(0, true);
        QVERIFY(rig.hid.waitForIdle(2000));
        QVERIFY(ranOn != nullptr);
        QVERIFY(ranOn != QThread::currentThread());
        QCOMPARE(rig.backend.count(Transfer::SendFeature), 1);
    }

    // Commands reach the device in the order issued: each claim waits for the previous
    // set exchange, which holds the transport through its frames and settling waits.
    void setCommandsKeepTheirOrder()
    {
        Rig rig(32, true);
        for (int i = 1; i <= 5; ++i) {
            QVERIFY(rig.hid.acquireTransport());
            rig.build(QByteArray::fromHex("11080800000000"));
            rig.hid.commandBlock[1] = uchar(i);
            rig.hid.commandBlock[7] = rig.hid.hidCS(rig.hid.commandBlock);
            std::memset(rig.hid.payloadBuffer, i, 8);
            rig.hid.startSendExchange(8, false);
        }
        QVERIFY(rig.hid.waitForIdle(2000));
        const QList<Transfer> all = rig.backend.transfers();
        int expected = 1;
        for (const Transfer& t : all) {
            if (t.kind == Transfer::SendFeature) {
                QCOMPARE(int(uchar(t.data.at(2))), expected);
            } else if (t.kind == Transfer::Write) {
                QCOMPARE(int(uchar(t.data.at(1))), expected);
                ++expected;
            }
        }
        QCOMPARE(expected, 6);
    }

    void waitForIdleIsBounded()
    {
        Rig rig;
        QSemaphore release;
        rig.hid.setSleeper([&release](int) { release.tryAcquire(1, 5000); });
        QVERIFY(rig.hid.acquireTransport());
        rig.build(QByteArray::fromHex("0b030000000000"));
        rig.hid.startSendExchange(0, true); // stays in its settling wait
        QElapsedTimer t;
        t.start();
        QVERIFY(!rig.hid.waitForIdle(100));
        QVERIFY(t.elapsed() < 1000);
        QVERIFY(!rig.hid.transportIdle);
        release.release(2);
        QVERIFY(rig.hid.waitForIdle(5000));
        QVERIFY(rig.hid.transportIdle);
    }
};

QTEST_MAIN(TestTransport)
#include "tst_transport.moc"
