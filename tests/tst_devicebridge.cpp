#include "commandfixture.h"
#include "devicebridge.h"
#include "myqquickview.h"
#include "pointersettings.h"
#include "profilestore.h"
#include "recordingcommands.h"

#include <QDir>
#include <QFile>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <functional>
#include <memory>

using BridgeOp = std::function<void(DeviceBridge&)>;
using BridgeRead = std::function<QVariant(DeviceBridge&)>;
Q_DECLARE_METATYPE(BridgeOp)
Q_DECLARE_METATYPE(BridgeRead)

namespace
{

QVariantList numbers(int from, int count)
{
    QVariantList l;
    for (int i = 0; i < count; ++i)
        l.append(from + i);
    return l;
}

// 00 01 .. ff 00 01 ..: the low bytes of numbers(0, n).
QByteArray countingBytes(int n)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char(i & 0xFF));
    return b;
}

QVariantList zeros(int count)
{
    return QVariantList(QVector<QVariant>(count, 0).toList());
}

QVariantList strings(const QStringList& l)
{
    QVariantList out;
    for (const QString& s : l)
        out.append(s);
    return out;
}

QVariantList unsignedList(std::initializer_list<uint> l)
{
    QVariantList out;
    for (uint v : l)
        out.append(v);
    return out;
}

// QVariant's == converts between kinds ("3" equals 3), so the kinds are compared as well.
bool sameValueAndKind(const QVariant& a, const QVariant& b)
{
    if (a.userType() == QMetaType::QVariantList || b.userType() == QMetaType::QVariantList) {
        const QVariantList la = a.toList(), lb = b.toList();
        if (a.userType() != b.userType() || la.size() != lb.size())
            return false;
        for (int i = 0; i < la.size(); ++i)
            if (!sameValueAndKind(la.at(i), lb.at(i)))
                return false;
        return true;
    }
    return a.userType() == b.userType() && a == b;
}

} // namespace

class TstDeviceBridge : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ProfileStore> m_store;
    std::unique_ptr<DeviceBridge> m_bridge;
    RecordingCommands m_rec;

    // A slot file written as text before the store opens it, as the program finds it.
    void writeSlotFile(const QByteArray& text)
    {
        m_bridge.reset();
        m_store.reset();
        QFile f(m_dir->filePath("p1.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        makeBridge();
    }
    void makeBridge()
    {
        m_store.reset(new ProfileStore(m_dir->path()));
        m_bridge.reset(new DeviceBridge(m_store.get()));
        m_bridge->setCommands(&m_rec);
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_rec = RecordingCommands();
        makeBridge();
    }
    void cleanup()
    {
        m_bridge.reset();
        m_store.reset();
        m_dir.reset();
    }

    void listToBytes_data()
    {
        QTest::addColumn<QVariantList>("list");
        QTest::addColumn<QByteArray>("bytes"); // 4 bytes

        QTest::newRow("integers") << QVariantList{1, 2, 254, 255}
                                  << QByteArray::fromHex("0102feff");
        QTest::newRow("numeric texts by decimal value")
            << QVariantList{"10", "255", "0", "16"} << QByteArray::fromHex("0aff0010");
        QTest::newRow("low 8 bits")
            << QVariantList{256, 257, -1, 0x1234} << QByteArray::fromHex("0001ff34");
        QTest::newRow("whole doubles as the documents pass them")
            << QVariantList{3.0, 128.0, 0.0, 7.0} << QByteArray::fromHex("03800007");
        QTest::newRow("short list padded with 0")
            << QVariantList{9} << QByteArray::fromHex("09000000");
        QTest::newRow("empty list") << QVariantList{} << QByteArray::fromHex("00000000");
        QTest::newRow("extra entries ignored")
            << QVariantList{1, 2, 3, 4, 5, 6} << QByteArray::fromHex("01020304");
        QTest::newRow("text that is no number gives 0")
            << QVariantList{"x", "", "12", "0x10"} << QByteArray::fromHex("00000c00");
    }
    void listToBytes()
    {
        QFETCH(QVariantList, list);
        QFETCH(QByteArray, bytes);
        uchar buf[4];
        std::memset(buf, 0xEE, sizeof buf);
        DeviceBridge::listToBytes(list, buf, 4);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 4), bytes);
    }

    void ledColours_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariantList>("list");
        QTest::addColumn<QByteArray>("payload");

        QTest::newRow("stage indexes packed two to a byte")
            << 2 << QVariantList{1, 2, 3, 4, 5, 6, 7, 8} << QByteArray::fromHex("21436587");
        QTest::newRow("indexes as texts")
            << 2 << QVariantList{"15", "0", "0", "15", "10", "11", "12", "13"}
            << QByteArray::fromHex("0ff0badc");
        QTest::newRow("only the low nibble of an odd stage, high nibble of even stage truncated")
            << 2 << QVariantList{0x1F, 0x12, 0, 0, 0, 0, 0, 0} << QByteArray::fromHex("2f000000");
        QTest::newRow("short index list padded with 0")
            << 2 << QVariantList{1, 2, 3} << QByteArray::fromHex("21030000");
        QTest::newRow("palette colours go unpacked")
            << 0 << numbers(1, 24)
            << QByteArray::fromHex("0102030405060708090a0b0c0d0e0f101112131415161718");
        QTest::newRow("stage colours go unpacked")
            << 1 << numbers(100, 24)
            << QByteArray::fromHex("6465666768696a6b6c6d6e6f707172737475767778797a7b");
        QTest::newRow("unknown type sends 24 bytes")
            << 7 << numbers(0, 3) << QByteArray::fromHex("000102") + QByteArray(21, '\0');
        QTest::newRow("more than 24 entries: the rest is ignored")
            << 0 << numbers(1, 30)
            << QByteArray::fromHex("0102030405060708090a0b0c0d0e0f101112131415161718");
    }
    void ledColours()
    {
        QFETCH(int, type);
        QFETCH(QVariantList, list);
        QFETCH(QByteArray, payload);

        m_bridge->ui_10H_SetLED8StageColor(uchar(type), list);

        QCOMPARE(m_rec.calls.size(), 1);
        QCOMPARE(m_rec.calls[0].command, QByteArray("10"));
        QCOMPARE(m_rec.calls[0].params, QByteArray(1, char(type)));
        QCOMPARE(m_rec.calls[0].payload, payload);
        // The profile keeps the list as the page gave it, not the packed bytes.
        QCOMPARE(m_store->value("color_Q7/type" + QString::number(type)).toList(), list);
    }

    void reportRate_data()
    {
        QTest::addColumn<uint>("device");
        QTest::addColumn<bool>("stored");

        QTest::newRow("mouse keeps the rate") << 1u << true;
        QTest::newRow("keyboard does not") << 0u << false;
        QTest::newRow("unknown device does not") << 5u << false;
    }
    void reportRate()
    {
        QFETCH(uint, device);
        QFETCH(bool, stored);
        m_store->setValue("sensor/reportRate_Q7", 2u);
        m_rec.device = device;

        m_bridge->ui_01H_SetReportRate(4);

        QCOMPARE(m_store->value("sensor/reportRate_Q7").toUInt(), stored ? 4u : 2u);
        QCOMPARE(m_rec.calls.size(), 1);
        QCOMPARE(m_rec.calls[0].command, QByteArray("01"));
        QCOMPARE(m_rec.calls[0].params, QByteArray::fromHex("04"));
    }

    void currentProfile_data()
    {
        QTest::addColumn<uint>("device");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("current");
        QTest::addColumn<QByteArray>("sent"); // parameter of 02H; empty: nothing sent

        QTest::newRow("mouse switches without a command") << 1u << 0 << 3 << 3 << QByteArray();
        QTest::newRow("keyboard switches and tells the device")
            << 0u << 0 << 9 << 9 << QByteArray::fromHex("09");
        QTest::newRow("same slot: nothing") << 0u << 4 << 4 << 4 << QByteArray();
        QTest::newRow("negative index changes nothing") << 0u << 2 << -1 << 2 << QByteArray();
        QTest::newRow("index 10 changes nothing") << 0u << 2 << 10 << 2 << QByteArray();
        QTest::newRow("large index changes nothing") << 1u << 5 << 1000 << 5 << QByteArray();
        QTest::newRow("index whose low byte is a slot changes nothing")
            << 0u << 0 << 257 << 0 << QByteArray();
    }
    void currentProfile()
    {
        QFETCH(uint, device);
        QFETCH(int, start);
        QFETCH(int, request);
        QFETCH(int, current);
        QFETCH(QByteArray, sent);
        QVERIFY(m_store->setCurrentProfile(start));
        m_rec.device = device;

        m_bridge->ui_02H_SetCurrentProfile(request);

        QCOMPARE(m_store->currentProfile(), current);
        if (sent.isEmpty()) {
            QVERIFY(m_rec.calls.isEmpty());
        } else {
            QCOMPARE(m_rec.calls.size(), 1);
            QCOMPARE(m_rec.calls[0].command, QByteArray("02"));
            QCOMPARE(m_rec.calls[0].params, sent);
        }
    }

    void profileSwitchRedirectsStores()
    {
        m_bridge->ui_0BH_SetCurrentDPIStage(3);
        m_bridge->ui_02H_SetCurrentProfile(6);
        m_bridge->ui_0BH_SetCurrentDPIStage(5);
        QCOMPARE(m_bridge->ui_8BH_GetCurrentDPIStage(), QVariant(5));
        m_bridge->ui_02H_SetCurrentProfile(0);
        QCOMPARE(m_bridge->ui_8BH_GetCurrentDPIStage(), QVariant(3));
        QCOMPARE(m_store->slot(6)->value("sensor/stage_Q7").toUInt(), 5u);
    }

    void storeThenSend_data()
    {
        QTest::addColumn<uint>("device");
        QTest::addColumn<BridgeOp>("op");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("command"); // empty: nothing sent
        QTest::addColumn<QByteArray>("params");
        QTest::addColumn<QByteArray>("payload");

        const QVariantList dpiValues{500, 1000, 1500, 2000, 0, 0, 0, 0};
        QTest::newRow("0BH current stage")
            << 1u << BridgeOp([](DeviceBridge& b) { b.ui_0BH_SetCurrentDPIStage(4); })
            << "sensor/stage_Q7" << QVariant(4u) << QByteArray("0B") << QByteArray::fromHex("04")
            << QByteArray();
        QTest::newRow("11H stages: values kept, codes sent")
            << 1u << BridgeOp([=](DeviceBridge& b) {
                   b.ui_11H_SetDPISet(4, {1, 3, 5, 7, 0x80, 0x80, 0x80, 0x80}, dpiValues);
               })
            << "sensor/dpi_Q7" << QVariant(dpiValues) << QByteArray("11")
            << QByteArray::fromHex("04") << QByteArray::fromHex("0103050780808080");
        QTest::newRow("11H short code list padded") << 1u << BridgeOp([=](DeviceBridge& b) {
            b.ui_11H_SetDPISet(2, {1, 3}, dpiValues);
        }) << "sensor/dpi_Q7" << QVariant(dpiValues) << QByteArray("11")
                                                    << QByteArray::fromHex("02")
                                                    << QByteArray::fromHex("0103000000000000");
        QTest::newRow("12H button matrix: slot 5")
            << 1u << BridgeOp([](DeviceBridge& b) { b.ui_12H_SetKeyMatrix(numbers(0, 64)); })
            << "keydefine_Q7/5" << QVariant(QVariantList{20, 21, 22, 23}) << QByteArray("12")
            << QByteArray() << countingBytes(64);
        QTest::newRow("12H button matrix: last slot")
            << 1u << BridgeOp([](DeviceBridge& b) { b.ui_12H_SetKeyMatrix(numbers(0, 64)); })
            << "keydefine_Q7/15" << QVariant(QVariantList{60, 61, 62, 63}) << QByteArray("12")
            << QByteArray() << QByteArray();
        QTest::newRow("12H short matrix padded in the profile and on the wire")
            << 1u << BridgeOp([](DeviceBridge& b) {
                   b.ui_12H_SetKeyMatrix({1, 2, 3, 4, 5});
               })
            << "keydefine_Q7/1" << QVariant(QVariantList{5, 0, 0, 0}) << QByteArray("12")
            << QByteArray() << QByteArray::fromHex("0102030405") + QByteArray(59, '\0');
        QTest::newRow("0DH lighting: page record kept, not sent")
            << 1u << BridgeOp([](DeviceBridge& b) {
                   b.ui_0DH_SetRGBLedEffect(3, 200, 2, {2, 7, 1});
               })
            << "color_Q7/ledEffect" << QVariant(QVariantList{2, 7, 1}) << QByteArray("0D")
            << QByteArray::fromHex("03c802") << QByteArray();
        QTest::newRow("0DH key matrix: last stored key")
            << 0u << BridgeOp([](DeviceBridge& b) { b.ui_0DH_SetKeyMatrix(numbers(0, 512)); })
            << "keydefine/125" << QVariant(QVariantList{500, 501, 502, 503}) << QByteArray("0D")
            << QByteArray() << countingBytes(512);
        QTest::newRow("0DH key matrix: keys past 125 are not stored")
            << 0u << BridgeOp([](DeviceBridge& b) { b.ui_0DH_SetKeyMatrix(numbers(0, 512)); })
            << "keydefine/126" << QVariant() << QByteArray("0D") << QByteArray() << QByteArray();
        QTest::newRow("08H light type: option not kept")
            << 0u << BridgeOp([](DeviceBridge& b) { b.ui_08H_SetLEDType(9, 1, 2, 3, 4, 5); })
            << "color/ledType" << QVariant(unsignedList({1, 2, 3, 4, 5})) << QByteArray("08")
            << QByteArray::fromHex("090102030405") << QByteArray();
        QTest::newRow("14H colour slot")
            << 0u << BridgeOp([](DeviceBridge& b) { b.ui_14H_SetColor(7, 255, 128, 0); })
            << "color/7" << QVariant(unsignedList({255, 128, 0})) << QByteArray("14")
            << QByteArray::fromHex("07ff8000") << QByteArray();
        QTest::newRow("12H user picture sent")
            << 0u << BridgeOp([](DeviceBridge& b) {
                   b.ui_12H_SetUserPicture(3, 1, {9, 8});
               })
            << "userPicture/3" << QVariant(QVariantList{9, 8}) << QByteArray("12")
            << QByteArray::fromHex("0301") << QByteArray::fromHex("0908") + QByteArray(510, '\0');
        QTest::newRow("12H user picture with option 255 kept only")
            << 0u << BridgeOp([](DeviceBridge& b) {
                   b.ui_12H_SetUserPicture(3, 255, {9, 8});
               })
            << "userPicture/3" << QVariant(QVariantList{9, 8}) << QByteArray() << QByteArray()
            << QByteArray();
    }
    void storeThenSend()
    {
        QFETCH(uint, device);
        QFETCH(BridgeOp, op);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, params);
        QFETCH(QByteArray, payload);
        m_rec.device = device;
        // What the profile holds at the moment the command leaves.
        QVariant atSend(QStringLiteral("not sent"));
        m_rec.onSet = [&] { atSend = m_store->value(key); };

        op(*m_bridge);

        QVERIFY2(sameValueAndKind(m_store->value(key), value),
                 qPrintable(m_store->value(key).toString()));
        if (command.isEmpty()) {
            QVERIFY(m_rec.calls.isEmpty());
            return;
        }
        QVERIFY2(sameValueAndKind(atSend, value), "the value is stored before the command");
        QCOMPARE(m_rec.calls.size(), 1);
        QCOMPARE(m_rec.calls[0].command, command);
        QCOMPARE(m_rec.calls[0].params, params);
        if (!payload.isEmpty())
            QCOMPARE(m_rec.calls[0].payload, payload);
    }

    void storedValuesSurviveTheFile()
    {
        m_bridge->ui_11H_SetDPISet(4, numbers(1, 8), {400, 800, 1600, 3200, 0, 0, 0, 0});
        m_bridge->ui_0DH_SetRGBLedEffect(3, 200, 2, {2, 7, 1});
        m_bridge->ui_12H_SetKeyMatrix(numbers(0, 64));
        m_bridge.reset();
        m_store.reset(); // writes the file

        QSettings file(m_dir->filePath("p1.bin"), QSettings::IniFormat);
        QCOMPARE(file.value("sensor/dpi_Q7").toStringList(),
                 QStringList({"400", "800", "1600", "3200", "0", "0", "0", "0"}));
        QCOMPARE(file.value("keydefine_Q7/2").toStringList(), QStringList({"8", "9", "10", "11"}));
        makeBridge();
        QVERIFY(sameValueAndKind(m_bridge->ui_8DH_GetRGBLedEffect(), unsignedList({2, 7, 1})));
    }

    void gettersFromProfile_data()
    {
        QTest::addColumn<QByteArray>("file"); // slot file text
        QTest::addColumn<uint>("device");
        QTest::addColumn<BridgeRead>("read");
        QTest::addColumn<QVariant>("expected");

        const BridgeRead effect = [](DeviceBridge& b) { return b.ui_8DH_GetRGBLedEffect(); };
        const BridgeRead dpi = [](DeviceBridge& b) { return b.ui_91H_GetDPISet(); };
        const BridgeRead stage = [](DeviceBridge& b) { return b.ui_8BH_GetCurrentDPIStage(); };
        const BridgeRead rate = [](DeviceBridge& b) { return b.ui_81H_GetReportRate(); };
        const BridgeRead colours2 = [](DeviceBridge& b) { return b.ui_90H_GetLED8StageColor(2); };

        QTest::newRow("lighting record as numbers though the file holds text")
            << QByteArray("[color_Q7]\nledEffect=3, 128, 2\n") << 1u << effect
            << QVariant(unsignedList({3, 128, 2}));
        QTest::newRow("lighting record missing")
            << QByteArray() << 1u << effect << QVariant(QVariantList());
        QTest::newRow("stage colour indexes as numbers")
            << QByteArray("[color_Q7]\ntype2=0, 1, 2, 3, 4, 5, 6, 15\n") << 1u << colours2
            << QVariant(unsignedList({0, 1, 2, 3, 4, 5, 6, 15}));
        QTest::newRow("one-entry list read back as a list")
            << QByteArray("[color_Q7]\ntype2=7\n") << 1u << colours2 << QVariant(unsignedList({7}));
        QTest::newRow("resolutions as texts")
            << QByteArray("[sensor]\ndpi_Q7=500, 1000, 1500, 2000, 0, 0, 0, 0\n") << 1u << dpi
            << QVariant(strings({"500", "1000", "1500", "2000", "0", "0", "0", "0"}));
        QTest::newRow("resolutions missing")
            << QByteArray() << 1u << dpi << QVariant(QVariantList());
        QTest::newRow("stage") << QByteArray("[sensor]\nstage_Q7=3\n") << 1u << stage
                               << QVariant(3);
        QTest::newRow("stage low 8 bits")
            << QByteArray("[sensor]\nstage_Q7=258\n") << 1u << stage << QVariant(2);
        QTest::newRow("stage missing") << QByteArray() << 1u << stage << QVariant(0);
        QTest::newRow("mouse rate from the profile")
            << QByteArray("[sensor]\nreportRate_Q7=2\n") << 1u << rate << QVariant(2);
        QTest::newRow("mouse rate missing") << QByteArray() << 1u << rate << QVariant(0);
        QTest::newRow("keyboard rate from the device, not the profile")
            << QByteArray("[sensor]\nreportRate_Q7=2\n") << 0u << rate << QVariant(8);
        QTest::newRow("unknown device rate")
            << QByteArray("[sensor]\nreportRate_Q7=2\n") << 3u << rate << QVariant(0);
        QTest::newRow("keyboard colour slot as texts")
            << QByteArray("[color]\n4=255, 0, 16\n") << 0u
            << BridgeRead([](DeviceBridge& b) { return b.ui_94H_GetColor(4); })
            << QVariant(strings({"255", "0", "16"}));
        QTest::newRow("keyboard light type")
            << QByteArray("[color]\nledType=1, 2, 3, 4, 5\n") << 0u
            << BridgeRead([](DeviceBridge& b) { return b.ui_88H_GetLEDType(); })
            << QVariant(strings({"1", "2", "3", "4", "5"}));
        QTest::newRow("user picture missing")
            << QByteArray() << 0u
            << BridgeRead([](DeviceBridge& b) { return b.ui_92H_GetUserPicture(1); })
            << QVariant(QVariantList());
    }
    void gettersFromProfile()
    {
        QFETCH(QByteArray, file);
        QFETCH(uint, device);
        QFETCH(BridgeRead, read);
        QFETCH(QVariant, expected);
        writeSlotFile(file);
        m_rec.device = device;

        const QVariant got = read(*m_bridge);

        QVERIFY2(sameValueAndKind(got, expected), qPrintable(QTest::toString(got)));
    }

    void gettersFromDevice_data()
    {
        QTest::addColumn<bool>("fail");
        QTest::addColumn<BridgeRead>("read");
        QTest::addColumn<QVariant>("expected");

        const BridgeRead version = [](DeviceBridge& b) {
            return QVariant(b.ui_80H_GetFWVersion());
        };
        const BridgeRead profile = [](DeviceBridge& b) { return b.ui_82H_GetCurrentProfile(); };
        const BridgeRead option = [](DeviceBridge& b) {
            return QVariant(b.ui_83H_GetKeyboardoption());
        };
        const BridgeRead sens = [](DeviceBridge& b) {
            return QVariant(b.ui_84H_GetButtonSensitivity());
        };
        const BridgeRead mode = [](DeviceBridge& b) { return b.ui_89H_GetKeyboardMode(); };
        const BridgeRead onOff = [](DeviceBridge& b) { return QVariant(b.ui_8EH_GetKeyOnOff()); };
        const BridgeRead buttons = [](DeviceBridge& b) {
            return QVariant(b.ui_92H_GetKeyMatrix());
        };
        const BridgeRead macro = [](DeviceBridge& b) { return QVariant(b.ui_93H_GetMacroKey(2)); };
        const BridgeRead keyboardMacro = [](DeviceBridge& b) {
            return QVariant(b.ui_91H_GetMacroKey(1));
        };
        const BridgeRead keys = [](DeviceBridge& b) { return QVariant(b.ui_8DH_GetKeyMatrix()); };
        const BridgeRead sensor = [](DeviceBridge& b) { return b.getSensorType(); };
        const BridgeRead logo = [](DeviceBridge& b) { return QVariant(b.chkIsLogoLedWork()); };

        // The recorder answers bulk reads with a0 a1 a2 repeated.
        const auto answered = [](int n) {
            QVariantList l;
            for (int i = 0; i < n; ++i)
                l.append(0xA0 + i % 3);
            return l;
        };

        QTest::newRow("version") << false << version << QVariant(QStringLiteral("1.0A"));
        QTest::newRow("version failed") << true << version << QVariant(QStringLiteral("unknown"));
        QTest::newRow("profile") << false << profile << QVariant(3);
        QTest::newRow("profile failed gives 0") << true << profile << QVariant(0);
        QTest::newRow("keyboard option")
            << false << option << QVariant(QVariantList{10, 11, 12, 13});
        QTest::newRow("keyboard option failed")
            << true << option << QVariant(QVariantList{0, 0, 0, 0});
        QTest::newRow("sensitivity") << false << sens << QVariant(QVariantList{10, 11, 12, 13});
        QTest::newRow("mode") << false << mode << QVariant(4);
        QTest::newRow("key on/off") << false << onOff << QVariant(answered(21));
        QTest::newRow("key on/off failed") << true << onOff << QVariant(zeros(21));
        QTest::newRow("button matrix") << false << buttons << QVariant(answered(64));
        QTest::newRow("macro of 128 bytes") << false << macro << QVariant(answered(128));
        QTest::newRow("keyboard macro of 192 bytes")
            << false << keyboardMacro << QVariant(answered(192));
        QTest::newRow("key matrix of 512 bytes") << false << keys << QVariant(answered(512));
        QTest::newRow("key matrix failed") << true << keys << QVariant(zeros(512));
        QTest::newRow("sensor type") << false << sensor << QVariant(2);
        QTest::newRow("sensor type failed") << true << sensor << QVariant(0);
        QTest::newRow("logo light works") << false << logo << QVariant(true);
        QTest::newRow("logo light: read failed") << true << logo << QVariant(false);
    }
    void gettersFromDevice()
    {
        QFETCH(bool, fail);
        QFETCH(BridgeRead, read);
        QFETCH(QVariant, expected);
        m_rec.fail = fail;
        m_rec.bulk = QByteArray::fromHex("a0a1a2");

        QVERIFY2(sameValueAndKind(read(*m_bridge), expected),
                 qPrintable(QTest::toString(read(*m_bridge))));
        QVERIFY(m_rec.calls.isEmpty());
    }

    void logoLight_data()
    {
        QTest::addColumn<uchar>("option1");
        QTest::addColumn<bool>("works");
        QTest::newRow("0 works") << uchar(0) << true;
        QTest::newRow("1 does not") << uchar(1) << false;
        QTest::newRow("0x80 does not") << uchar(0x80) << false;
    }
    void logoLight()
    {
        QFETCH(uchar, option1);
        QFETCH(bool, works);
        m_rec.ledOption1 = option1;
        QCOMPARE(m_bridge->chkIsLogoLedWork(), works);
    }

    void syncDpi_data()
    {
        QTest::addColumn<bool>("fail");
        QTest::addColumn<uchar>("stages");
        QTest::addColumn<uchar>("expected");

        QTest::newRow("device count") << false << uchar(5) << uchar(5);
        QTest::newRow("one stage") << false << uchar(1) << uchar(1);
        QTest::newRow("eight stages") << false << uchar(8) << uchar(8);
        QTest::newRow("read failed") << true << uchar(5) << uchar(8);
        QTest::newRow("zero stages") << false << uchar(0) << uchar(8);
        QTest::newRow("nine stages") << false << uchar(9) << uchar(8);
        QTest::newRow("scrambled byte") << false << uchar(0xC3) << uchar(8);
    }
    void syncDpi()
    {
        QFETCH(bool, fail);
        QFETCH(uchar, stages);
        QFETCH(uchar, expected);
        m_rec.fail = fail;
        m_rec.dpiStages = stages;
        QCOMPARE(m_bridge->ui_91H_SyncDPI(), expected);
    }

    void pureForwards()
    {
        m_rec.device = 0;
        m_bridge->ui_03H_SetKeyboardoption(1, 2, 3, 4);
        m_bridge->ui_04H_SetButtonSensitivity(5, 6, 7, 8);
        m_bridge->ui_07H_SetControlIndicatorLight(9, 10);
        m_bridge->ui_09H_SetKeyboardMode(11);
        m_bridge->ui_0EH_SetKeyOnOff(numbers(1, 21));
        m_bridge->ui_13H_SetRecoveryData();

        QCOMPARE(m_rec.commands(), QList<QByteArray>({"03", "04", "07", "09", "0E", "13"}));
        QCOMPARE(m_rec.calls[0].params, QByteArray::fromHex("01020304"));
        QCOMPARE(m_rec.calls[1].params, QByteArray::fromHex("05060708"));
        QCOMPARE(m_rec.calls[2].params, QByteArray::fromHex("090a"));
        QCOMPARE(m_rec.calls[3].params, QByteArray::fromHex("0b"));
        QCOMPARE(m_rec.calls[4].payload,
                 QByteArray::fromHex("0102030405060708090a0b0c0d0e0f101112131415"));
        // None of them is a profile value.
        QVERIFY(m_store->current()->allKeys().isEmpty());
    }

    void withoutTransport()
    {
        // The facade's bridge before a transport is attached: values are kept, nothing is
        // sent, reads give their presets.
        DeviceBridge bridge(m_store.get());
        bridge.ui_0BH_SetCurrentDPIStage(6);
        bridge.ui_01H_SetReportRate(1);
        bridge.ui_12H_SetKeyMatrix(numbers(0, 64));
        QCOMPARE(bridge.ui_8BH_GetCurrentDPIStage(), QVariant(6));
        QCOMPARE(bridge.ui_81H_GetReportRate(), QVariant(1));
        QCOMPARE(bridge.ui_91H_SyncDPI(), uchar(8));
        QCOMPARE(bridge.getSensorType(), QVariant(0));
        QCOMPARE(bridge.chkIsLogoLedWork(), false);
        QCOMPARE(bridge.ui_92H_GetKeyMatrix(), zeros(64));
        QCOMPARE(bridge.ui_80H_GetFWVersion(), QString());
    }

    void withoutProfileStore()
    {
        DeviceBridge bridge(nullptr);
        bridge.setCommands(&m_rec);
        bridge.ui_0BH_SetCurrentDPIStage(6);
        bridge.ui_02H_SetCurrentProfile(3);
        QCOMPARE(bridge.ui_8BH_GetCurrentDPIStage(), QVariant(0));
        QCOMPARE(bridge.ui_91H_GetDPISet(), QVariantList());
        QCOMPARE(m_rec.commands(), QList<QByteArray>({"0B"}));
    }

    // Through the real transport: what the bridge hands over is what leaves.
    void overTheWire()
    {
        using T = RecordingBackend::Transfer;
        CommandFixture f(CommandFixture::Mouse);
        DeviceBridge bridge(m_store.get());
        bridge.setHid(&f.hid);

        bridge.ui_10H_SetLED8StageColor(2, {1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(f.hid.waitForIdle(5000));
        QCOMPARE(f.wire(T::SendFeature),
                 QList<QByteArray>{QByteArray::fromHex("0010020400000000e9")});
        QCOMPARE(f.wire(T::Write), QList<QByteArray>{QByteArray::fromHex("0021436587") +
                                                     QByteArray(f.reportLength - 4, '\0')});

        f.backend.clear();
        f.queueAnswer(QByteArray::fromHex("9106"));
        f.queueBulkIn(QByteArray::fromHex("0102030405068080"));
        QCOMPARE(bridge.ui_91H_SyncDPI(), uchar(6));

        f.queueAnswer(QByteArray::fromHex("8302088105"));
        QCOMPARE(bridge.getSensorType(), QVariant(2));
    }

    // A document's calls through the view host: script numbers and arrays arrive as the
    // bridge's bytes and lists, and the getters' results come back as script values.
    void documentsReachTheBridge()
    {
        QTemporaryDir cwd;
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(cwd.path())); // the view keeps its files under ./modules
        {
            myQQuickView view;
            QVERIFY(view.bridge() && view.pointer());
            view.bridge()->setCommands(&m_rec);
            view.pointer()->setCommands(&m_rec);
            view.rootContext()->setContextProperty("ui_View", &view);
            QQmlComponent doc(view.engine());
            doc.setData("import QtQuick 2.15\n"
                        "QtObject {\n"
                        "  property var dpi\n"
                        "  property var effect\n"
                        "  property int stages\n"
                        "  property int stage\n"
                        "  property bool swap\n"
                        "  Component.onCompleted: {\n"
                        "    ui_View.ui_10H_SetLED8StageColor(2, [1, 2, 3, 4, 5, 6, 7, 8]);\n"
                        "    ui_View.ui_11H_SetDPISet(3, [1, 3, 5, 128, 128, 128, 128, 128],\n"
                        "                             [400, 800, 1600, 0, 0, 0, 0, 0]);\n"
                        "    ui_View.ui_0DH_SetRGBLedEffect(4, 255, 1, [3, 10, 1]);\n"
                        "    ui_View.ui_0BH_SetCurrentDPIStage(2);\n"
                        "    ui_View.setScrollPinSwap(true);\n"
                        "    dpi = ui_View.ui_91H_GetDPISet();\n"
                        "    effect = ui_View.ui_8DH_GetRGBLedEffect();\n"
                        "    stages = ui_View.ui_91H_SyncDPI();\n"
                        "    stage = ui_View.ui_8BH_GetCurrentDPIStage();\n"
                        "    swap = ui_View.getScrollPinSwap();\n"
                        "  }\n"
                        "}\n",
                        QUrl());
            std::unique_ptr<QObject> obj(doc.create());
            QVERIFY2(obj, qPrintable(doc.errorString()));

            QCOMPARE(m_rec.commands(), QList<QByteArray>({"10", "11", "0D", "0B", "03"}));
            QCOMPARE(m_rec.calls[0].payload.left(4), QByteArray::fromHex("21436587"));
            QCOMPARE(m_rec.calls[1].params, QByteArray::fromHex("03"));
            QCOMPARE(m_rec.calls[1].payload, QByteArray::fromHex("0103058080808080"));
            QCOMPARE(m_rec.calls[2].params, QByteArray::fromHex("04ff01"));
            QCOMPARE(m_rec.calls[3].params, QByteArray::fromHex("02"));
            QCOMPARE(m_rec.calls[4].params, QByteArray::fromHex("0208c105"));
            QCOMPARE(obj->property("dpi").toStringList(),
                     QStringList({"400", "800", "1600", "0", "0", "0", "0", "0"}));
            QCOMPARE(obj->property("effect").toStringList(), QStringList({"3", "10", "1"}));
            QCOMPARE(obj->property("stages").toInt(), 6);
            QCOMPARE(obj->property("stage").toInt(), 2);
            QCOMPARE(obj->property("swap").toBool(), true);
        }
        QVERIFY(QDir::setCurrent(old));
    }
};

QTEST_MAIN(TstDeviceBridge)
#include "tst_devicebridge.moc"
