#include "commandfixture.h"
#include "dialogs.h"
#include "linuxpointersystem.h"
#include "pointersettings.h"
#include "profilestore.h"
#include "recordingcommands.h"
#include "recordingpointersystem.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace
{

enum Slider { Speed, Lines, DoubleClick };

// How a slider is kept, set, read back and applied to the session.
struct SliderApi {
    const char* key;
    void (PointerSettings::*set)(uint);
    uint (PointerSettings::*get)();
    int RecordingPointerSystem::*applied;
};

const SliderApi& apiOf(Slider s)
{
    static const SliderApi apis[] = {
        {"sensor/cursorSpeed_Q7", &PointerSettings::setCursorSpeed,
         &PointerSettings::getCursorSpeed, &RecordingPointerSystem::speed},
        {"sensor/verticalScrollLines_Q7", &PointerSettings::setVerticalScrollLines,
         &PointerSettings::getVerticalScrollLines, &RecordingPointerSystem::lines},
        {"sensor/doubleClickSpeed_Q7", &PointerSettings::setDoubleClickSpeed,
         &PointerSettings::getDoubleClickSpeed, &RecordingPointerSystem::doubleClickMs},
    };
    return apis[s];
}

} // namespace

Q_DECLARE_METATYPE(Slider)

class TstPointer : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ProfileStore> m_store;
    std::unique_ptr<PointerSettings> m_pointer;
    RecordingPointerSystem* m_system = nullptr; // owned by m_pointer
    RecordingCommands m_rec;
    QStringList m_messages;
    ScriptedDialogs m_dialogs;

    void set(Slider s, uint step) { (m_pointer.get()->*apiOf(s).set)(step); }
    uint get(Slider s) { return (m_pointer.get()->*apiOf(s).get)(); }
    int applied(Slider s) const { return m_system->*apiOf(s).applied; }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_store.reset(new ProfileStore(m_dir->path()));
        m_system = new RecordingPointerSystem;
        m_messages =
            QStringList{"m0", "m1", "m2", "m3", "Warning %1", "Remove the last left button?"};
        m_pointer.reset(new PointerSettings(m_store.get(), m_system,
                                            [this](int i) { return m_messages.value(i); }));
        m_rec = RecordingCommands();
        m_pointer->setCommands(&m_rec);
        m_dialogs = ScriptedDialogs();
        Dialogs::install(&m_dialogs);
    }
    void cleanup()
    {
        Dialogs::install(nullptr);
        m_pointer.reset();
        m_store.reset();
        m_dir.reset();
    }

    void sliders_data()
    {
        QTest::addColumn<Slider>("slider");
        QTest::addColumn<uint>("step");
        QTest::addColumn<int>("value"); // handed to the system
        QTest::addColumn<uint>("kept"); // step in the profile

        QTest::newRow("speed step 0 is 1, not 0") << Speed << 0u << 1 << 0u;
        QTest::newRow("speed step 1") << Speed << 1u << 2 << 1u;
        QTest::newRow("speed step 5 unscaled") << Speed << 5u << 10 << 5u;
        QTest::newRow("speed step 10") << Speed << 10u << 20 << 10u;
        QTest::newRow("speed step past the slider") << Speed << 11u << 20 << 10u;
        QTest::newRow("lines step 0 is one line") << Lines << 0u << 1 << 0u;
        QTest::newRow("lines step 2") << Lines << 2u << 3 << 2u;
        QTest::newRow("lines step 10") << Lines << 10u << 11 << 10u;
        QTest::newRow("lines step past the slider") << Lines << 4000000000u << 11 << 10u;
        QTest::newRow("double-click step 0 slowest") << DoubleClick << 0u << 900 << 0u;
        QTest::newRow("double-click step 5") << DoubleClick << 5u << 550 << 5u;
        QTest::newRow("double-click step 10 fastest") << DoubleClick << 10u << 200 << 10u;
        QTest::newRow("double-click step 13 not negative") << DoubleClick << 13u << 200 << 10u;
    }
    void sliders()
    {
        QFETCH(Slider, slider);
        QFETCH(uint, step);
        QFETCH(int, value);
        QFETCH(uint, kept);

        set(slider, step);

        QCOMPARE(applied(slider), value);
        QCOMPARE(m_store->value(apiOf(slider).key).toUInt(), kept);
        QCOMPARE(get(slider), kept);
        QCOMPARE(m_system->setCalls, 1);
        QVERIFY(m_rec.calls.isEmpty());
    }

    void systemRefuses_data()
    {
        QTest::addColumn<Slider>("slider");
        QTest::addColumn<QString>("message");
        QTest::newRow("speed") << Speed << "setCursorSpeed Failed";
        QTest::newRow("lines") << Lines << "setVerticalScrollLines Failed";
        QTest::newRow("double-click") << DoubleClick << "setDoubleClickSpeed Failed";
    }
    void systemRefuses()
    {
        QFETCH(Slider, slider);
        QFETCH(QString, message);
        m_system->refuse = true;

        QTest::ignoreMessage(QtDebugMsg, qPrintable(message));
        set(slider, 7);

        // The step stays for the page even though the session did not take it.
        QCOMPARE(get(slider), 7u);
    }

    void gettersAnswerFromTheCurrentSlot()
    {
        m_pointer->setCursorSpeed(3);
        m_pointer->setScrollPinSwap(true);
        QVERIFY(m_store->setCurrentProfile(4));

        // A slot without the keys.
        QCOMPARE(m_pointer->getCursorSpeed(), 0u);
        QCOMPARE(m_pointer->getVerticalScrollLines(), 0u);
        QCOMPARE(m_pointer->getDoubleClickSpeed(), 0u);
        QCOMPARE(m_pointer->getScrollPinSwap(), false);

        QVERIFY(m_store->setCurrentProfile(0));
        QCOMPARE(m_pointer->getCursorSpeed(), 3u);
        QCOMPARE(m_pointer->getScrollPinSwap(), true);
        // The getters never ask the session.
        m_system->refuse = true;
        QCOMPARE(m_pointer->getCursorSpeed(), 3u);
    }

    void scrollPinSwap_data()
    {
        QTest::addColumn<bool>("swap");
        QTest::addColumn<uchar>("readOption1");
        QTest::addColumn<uchar>("sentOption1");

        QTest::newRow("swap on sets bit 6") << true << uchar(0x81) << uchar(0xC1);
        QTest::newRow("swap off clears bit 6") << false << uchar(0xC1) << uchar(0x81);
        QTest::newRow("swap on when already on") << true << uchar(0xC1) << uchar(0xC1);
        QTest::newRow("swap off keeps the other bits") << false << uchar(0xFF) << uchar(0xBF);
        QTest::newRow("swap on from nothing") << true << uchar(0x00) << uchar(0x40);
    }
    void scrollPinSwap()
    {
        QFETCH(bool, swap);
        QFETCH(uchar, readOption1);
        QFETCH(uchar, sentOption1);
        m_rec.sensorType = 3;
        m_rec.option1 = readOption1;
        m_rec.option2 = 0x5A;
        m_rec.rate = 2;

        m_pointer->setScrollPinSwap(swap);

        QCOMPARE(m_pointer->getScrollPinSwap(), swap);
        QCOMPARE(m_rec.calls.size(), 1);
        QCOMPARE(m_rec.calls[0].command, QByteArray("03"));
        // Type, rate and the second option go back as read.
        QCOMPARE(m_rec.calls[0].params,
                 QByteArray::fromHex("0302") + char(sentOption1) + QByteArray::fromHex("5a"));
    }

    void scrollPinSwapWithoutDeviceAnswer()
    {
        m_rec.fail = true;
        QTest::ignoreMessage(QtDebugMsg, "setScrollPinSwap Failed");

        m_pointer->setScrollPinSwap(true);

        // Kept for the page; the zeros of the failed reads are not written to the mouse.
        QCOMPARE(m_pointer->getScrollPinSwap(), true);
        QVERIFY(m_rec.calls.isEmpty());
    }

    void foolProofing_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void foolProofing()
    {
        QFETCH(bool, answer);
        m_dialogs.nextConfirm = answer;

        QCOMPARE(m_pointer->getMsgAns_FoolProofing(), answer);
        QCOMPARE(m_dialogs.confirms, 1);
        QCOMPARE(m_dialogs.lastTitle, QString("Warning %1"));
        QCOMPARE(m_dialogs.lastText, QString("Remove the last left button?"));
    }

    void foolProofingWithoutLanguage()
    {
        m_messages.clear();
        m_dialogs.nextConfirm = true;
        QCOMPARE(m_pointer->getMsgAns_FoolProofing(), true);
        QCOMPARE(m_dialogs.lastTitle, QString());
    }

    void acceleration_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<QString>("setMessage");
        QTest::addColumn<bool>("got");

        QTest::newRow("on") << true << false << QString() << true;
        QTest::newRow("off") << false << false << QString() << false;
        QTest::newRow("refused") << true << true << "setAcceleration Failed" << false;
    }
    void acceleration()
    {
        QFETCH(bool, on);
        QFETCH(bool, refuse);
        QFETCH(QString, setMessage);
        QFETCH(bool, got);
        m_system->accel = !on;
        m_system->refuse = refuse;

        if (!setMessage.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, qPrintable(setMessage));
        m_pointer->setAcceleration(on);
        if (refuse)
            QTest::ignoreMessage(QtDebugMsg, "getAcceleration Failed");
        QCOMPARE(m_pointer->getAcceleration(), got);
        // Acceleration belongs to the session, not the profile.
        QVERIFY(m_store->current()->allKeys().isEmpty());
    }

    void withoutProfileStore()
    {
        auto* system = new RecordingPointerSystem;
        PointerSettings pointer(nullptr, system, {});
        pointer.setCommands(&m_rec);
        pointer.setCursorSpeed(4);
        QCOMPARE(system->speed, 8);
        QCOMPARE(pointer.getCursorSpeed(), 0u);
        QCOMPARE(pointer.getScrollPinSwap(), false);
        QCOMPARE(pointer.getMsgAns_FoolProofing(), false);
    }

    void scrollPinSwapOverTheWire()
    {
        using T = RecordingBackend::Transfer;
        CommandFixture f(CommandFixture::Mouse);
        m_pointer->setCommands(nullptr);
        m_pointer->setHid(&f.hid);
        f.queueAnswer(QByteArray::fromHex("8301028105")); // type 1, option1 0x81, option2 5
        f.queueAnswer(QByteArray::fromHex("8102"));       // rate 2 (500 Hz)

        m_pointer->setScrollPinSwap(true);
        QVERIFY(f.hid.waitForIdle(5000));

        const QList<QByteArray> blocks = f.wire(T::SendFeature);
        QCOMPARE(blocks.size(), 3);
        QCOMPARE(blocks.at(2), QByteArray::fromHex("00030102c105000033"));
    }

    // --- the X11 session implementation, where it needs no server ---

    void libinputSpeed_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("accelSpeed");
        QTest::newRow("slowest") << 1 << -1.0;
        QTest::newRow("unscaled") << 10 << 0.0;
        QTest::newRow("fastest") << 20 << 1.0;
        QTest::newRow("between unscaled and fastest") << 15 << 0.5;
        QTest::newRow("below the range") << 0 << -1.0;
        QTest::newRow("above the range") << 40 << 1.0;
    }
    void libinputSpeed()
    {
        QFETCH(int, speed);
        QFETCH(double, accelSpeed);
        QCOMPARE(LinuxPointerSystem::libinputSpeedFor(speed), accelSpeed);
    }

    void libinputSpeedRoundTrip()
    {
        for (int speed = 1; speed <= 20; ++speed) {
            const float onTheServer = float(LinuxPointerSystem::libinputSpeedFor(speed));
            QCOMPARE(LinuxPointerSystem::speedForLibinput(onTheServer), speed);
        }
    }

    void libinputAccelProfile_data()
    {
        QTest::addColumn<QByteArray>("current");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("flat to adaptive")
            << QByteArray::fromHex("0001") << true << QByteArray::fromHex("0100");
        QTest::newRow("adaptive to flat")
            << QByteArray::fromHex("0100") << false << QByteArray::fromHex("0001");
        QTest::newRow("custom profile left for adaptive, length kept")
            << QByteArray::fromHex("000001") << true << QByteArray::fromHex("010000");
        QTest::newRow("custom profile left for flat")
            << QByteArray::fromHex("000001") << false << QByteArray::fromHex("000100");
    }
    void libinputAccelProfile()
    {
        QFETCH(QByteArray, current);
        QFETCH(bool, on);
        QFETCH(QByteArray, written);
        QCOMPARE(LinuxPointerSystem::accelProfileFor(current, on), written);
    }

    void noDisplayKeepsValues()
    {
        // A display that does not exist: everything is kept and reported as not applied.
        LinuxPointerSystem system(":64999");
        QVERIFY(!system.hasDisplay());
        QVERIFY(!system.setCursorSpeed(14));
        QVERIFY(!system.setWheelScrollLines(5));
        QVERIFY(!system.setDoubleClickTime(340));
        QVERIFY(!system.setAcceleration(false));
        int v = 0;
        bool on = true;
        QVERIFY(!system.cursorSpeed(&v));
        QCOMPARE(v, 14);
        QVERIFY(!system.wheelScrollLines(&v));
        QCOMPARE(v, 5);
        QVERIFY(!system.doubleClickTime(&v));
        QCOMPARE(v, 340);
        QVERIFY(!system.acceleration(&on));
        QCOMPARE(on, false);
    }
};

QTEST_MAIN(TstPointer)
#include "tst_pointer.moc"
