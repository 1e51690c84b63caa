// The virtual mouse's firmware: every mouse setting written with its set command reads back
// with its get through the whole transport (scrambled blocks, bulk frames), and the firmware
// itself ignores malformed or incomplete traffic instead of storing half of it.
#include "commandfixture.h"

#include <QtTest>

namespace
{

// Everything the firmware keeps, in one comparable value.
QByteArray snapshot(const Q7Firmware& fw)
{
    QByteArray s =
        bytes({fw.reportRate(), fw.profile(), fw.sensorType(), fw.functionOption1(),
               fw.functionOption2(), fw.currentDpiStage(), fw.dpiStageCount(), fw.lightingEffect(),
               fw.lightingBrightness(), fw.lightingSpeed(), fw.versionMajor(), fw.versionMinor()});
    s += fw.dpiCodes() + fw.colourTable(0) + fw.colourTable(1) + fw.colourTable(2) + fw.keyMatrix();
    for (int type = 0; type < 256; ++type)
        s += fw.ledInstruct(uchar(type));
    for (uchar id = 1; id <= Q7Firmware::kMacroSlots; ++id)
        s += fw.macro(id);
    return s;
}

QByteArray withChecksum(QByteArray block7)
{
    uint sum = 0;
    for (char c : block7)
        sum += uchar(c);
    return block7 + char(~sum & 0xFF);
}

void command(Q7Firmware& fw, const QByteArray& block8)
{
    fw.onCommand(reinterpret_cast<const unsigned char*>(block8.constData()));
}

// Sends `payload` as 32-byte output frames, the tail of the last one padded with `filler`.
void bulkOut(Q7Firmware& fw, const QByteArray& payload, char filler = '\0')
{
    for (int offset = 0; offset < payload.size(); offset += 32) {
        const QByteArray frame = payload.mid(offset, 32).leftJustified(32, filler);
        fw.onBulkOut(reinterpret_cast<const unsigned char*>(frame.constData()), 32);
    }
}

QByteArray bulkIn(Q7Firmware& fw)
{
    QByteArray out;
    unsigned char frame[32];
    for (int i = 0; i < 64 && fw.nextBulkIn(frame, 32); ++i)
        out += bytes(frame, 32);
    return out;
}

QByteArray answerOf(Q7Firmware& fw)
{
    unsigned char a[8];
    fw.answer(a);
    return bytes(a, 8);
}

} // namespace

class TstQ7Firmware : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void firmwareVersionText_data();
    void firmwareVersionText();
    void factoryState();
    void functionOptionCarriesReportRate();
    void unplugDuringBulkGetKeepsCallerBytes();
    void ignoredTraffic_data();
    void ignoredTraffic();
    void onlyFirstBytesOfFrameCount();
    void bulkInEndsAfterPayload();
};

void TstQ7Firmware::roundTrip_data()
{
    QTest::addColumn<GetCall>("setThenGet");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("01H/81H") << GetCall([](Hid_Thread& h) {
        h.hid_01H_SetReportRate(4);
        uchar rate = 0;
        h.hid_81H_GetReportRate(rate);
        return bytes({rate});
    }) << bytes({4});
    QTest::newRow("02H/82H") << GetCall([](Hid_Thread& h) {
        h.hid_02H_SetCurrentProfile(7);
        uchar profile = 0;
        h.hid_82H_GetCurrentProfile(profile);
        return bytes({profile});
    }) << bytes({7});
    QTest::newRow("03H/83H") << GetCall([](Hid_Thread& h) {
        h.hid_03H_SetFunctionOption(3, 2, 0x41, 0x07);
        uchar type = 0, o1 = 0, o2 = 0;
        h.hid_83H_GetFunctionOption(type, o1, o2);
        return bytes({type, o1, o2});
    }) << bytes({3, 0x41, 0x07});
    QTest::newRow("07H/87H type 1") << GetCall([](Hid_Thread& h) {
        h.hid_07H_SetLEDInstructFunction(1, 5, 6, 7);
        uchar o1 = 0, o2 = 0, o3 = 0;
        const bool ok = h.hid_87H_GetLEDInstructFunction(1, o1, o2, o3);
        // The other types keep their own options.
        uchar p1 = 9, p2 = 9, p3 = 9;
        h.hid_87H_GetLEDInstructFunction(0, p1, p2, p3);
        return bytes({uchar(ok), o1, o2, o3, p1, p2, p3});
    }) << bytes({1, 5, 6, 7, 0, 0, 0});
    QTest::newRow("0BH/8BH") << GetCall([](Hid_Thread& h) {
        h.hid_0BH_SetCurrentDPIStage(5);
        uchar stage = 0;
        h.hid_8BH_GetCurrentDPIStage(stage);
        return bytes({stage});
    }) << bytes({5});
    QTest::newRow("0DH/8DH") << GetCall([](Hid_Thread& h) {
        h.hid_0DH_SetRGBLedEffect(8, 0x80, 3);
        uchar effect = 0, o1 = 0, o2 = 0;
        h.hid_8DH_GetRGBLedEffect(effect, o1, o2);
        return bytes({effect, o1, o2});
    }) << bytes({8, 0x80, 3});
    QTest::newRow("10H/90H type 0") << GetCall([](Hid_Thread& h) {
        QByteArray colours = pattern(24, 40);
        h.hid_10H_SetLED8StageColor(0, raw(colours));
        QByteArray back(24, '\0');
        h.hid_90H_GetLED8StageColor(0, raw(back));
        return back;
    }) << pattern(24, 40);
    QTest::newRow("10H/90H type 1") << GetCall([](Hid_Thread& h) {
        QByteArray colours = pattern(24, 50);
        h.hid_10H_SetLED8StageColor(1, raw(colours));
        QByteArray back(24, '\0');
        h.hid_90H_GetLED8StageColor(1, raw(back));
        // The palette (type 0) is a table of its own.
        QByteArray palette(24, '\0');
        h.hid_90H_GetLED8StageColor(0, raw(palette));
        return back + bytes({uchar(palette == back)});
    }) << pattern(24, 50) + bytes({0});
    QTest::newRow("10H/90H type 2") << GetCall([](Hid_Thread& h) {
        QByteArray indexes = hex("21436587") + QByteArray(20, char(0x99));
        h.hid_10H_SetLED8StageColor(2, raw(indexes));
        QByteArray back(24, char(0xEE));
        h.hid_90H_GetLED8StageColor(2, raw(back));
        return back;
    }) << hex("21436587") + QByteArray(20, char(0xEE));
    QTest::newRow("11H/91H") << GetCall([](Hid_Thread& h) {
        QByteArray codes = hex("0204464A4B808080");
        h.hid_11H_SetDPISet(6, raw(codes));
        uchar max = 0;
        QByteArray back(8, '\0');
        const bool ok = h.hid_91H_GetDPISet(max, raw(back));
        return bytes({uchar(ok), max}) + back;
    }) << bytes({1, 6}) + hex("0204464A4B808080");
    QTest::newRow("12H/92H") << GetCall([](Hid_Thread& h) {
        QByteArray keys = pattern(64, 60);
        h.hid_12H_SetKeyMatrix(raw(keys));
        QByteArray back(64, '\0');
        h.hid_92H_GetKeyMatrix(raw(back));
        return back;
    }) << pattern(64, 60);
    QTest::newRow("13H/93H slots 1 and 12") << GetCall([](Hid_Thread& h) {
        QByteArray first = pattern(128, 70);
        QByteArray last = pattern(128, 80);
        h.hid_13H_SetMacroKey(1, raw(first));
        h.hid_13H_SetMacroKey(12, raw(last));
        QByteArray back1(128, '\0');
        QByteArray back12(128, '\0');
        QByteArray back2(128, char(0xEE));
        h.hid_93H_GetMacroKey(1, raw(back1));
        h.hid_93H_GetMacroKey(12, raw(back12));
        h.hid_93H_GetMacroKey(2, raw(back2));
        return back1 + back12 + back2;
    }) << pattern(128, 70) + pattern(128, 80) + QByteArray(128, '\0');
}

void TstQ7Firmware::roundTrip()
{
    QFETCH(GetCall, setThenGet);
    QFETCH(QByteArray, expected);
    VirtualMouseFixture f;
    QCOMPARE(setThenGet(f.hid).toHex(' '), expected.toHex(' '));
    QVERIFY(f.hid.waitForIdle(5000));
    QCOMPARE(f.firmware().rejectedBlocks(), 0);
}

void TstQ7Firmware::firmwareVersionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("text");
    QTest::newRow("factory") << 0x01 << 0x0A << "1.0A";
    QTest::newRow("lowercase major") << 0x1B << 0x05 << "1b.05";
    QTest::newRow("zero") << 0 << 0 << "0.00";
}

void TstQ7Firmware::firmwareVersionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, text);
    VirtualMouseFixture f;
    f.firmware().setVersion(uchar(major), uchar(minor));
    QString version;
    f.hid.hid_80H_GetFWVersion(version);
    QCOMPARE(version, text);

    f.mouseDevice.setPresent(false);
    f.hid.hid_80H_GetFWVersion(version);
    QCOMPARE(version, QStringLiteral("unknown"));
}

// What a new mouse reports: the sensor page relies on a known sensor type and eight stages.
void TstQ7Firmware::factoryState()
{
    VirtualMouseFixture f;
    QString version;
    f.hid.hid_80H_GetFWVersion(version);
    QCOMPARE(version, QStringLiteral("1.0A"));
    uchar type = 9, o1 = 9, o2 = 9;
    f.hid.hid_83H_GetFunctionOption(type, o1, o2);
    QCOMPARE(type, uchar(2));
    uchar rate = 0;
    f.hid.hid_81H_GetReportRate(rate);
    QCOMPARE(rate, uchar(1));
    uchar max = 0;
    QByteArray codes(8, '\0');
    QVERIFY(f.hid.hid_91H_GetDPISet(max, raw(codes)));
    QCOMPARE(max, uchar(8));
    QCOMPARE(codes, f.firmware().dpiCodes());
    // Type 0 option 1 = 0: the logo LED works.
    uchar l1 = 9, l2 = 9, l3 = 9;
    QVERIFY(f.hid.hid_87H_GetLEDInstructFunction(0, l1, l2, l3));
    QCOMPARE(l1, uchar(0));
}

// 03H writes the report rate too; 83H carries it in answer byte 2, which 81H reads back.
void TstQ7Firmware::functionOptionCarriesReportRate()
{
    VirtualMouseFixture f;
    f.hid.hid_03H_SetFunctionOption(2, 8, 0x40, 0);
    uchar rate = 0;
    f.hid.hid_81H_GetReportRate(rate);
    QCOMPARE(rate, uchar(8));
    QCOMPARE(f.firmware().functionOption1(), uchar(0x40));
}

void TstQ7Firmware::unplugDuringBulkGetKeepsCallerBytes()
{
    VirtualMouseFixture f;
    QByteArray macro = pattern(128, 90);
    f.hid.hid_13H_SetMacroKey(3, raw(macro));
    QVERIFY(f.hid.waitForIdle(5000));
    // Block out, answer in, one input report: then the mouse is gone.
    f.mouseDevice.setUnplugAfter(3);
    QByteArray back(128, char(0xEE));
    f.hid.hid_93H_GetMacroKey(3, raw(back));
    QCOMPARE(back.toHex(' '), (pattern(128, 90).left(32) + QByteArray(96, char(0xEE))).toHex(' '));
}

// Traffic a device must not act on. Each row sends one block and its frames, then the
// firmware's state must be what it was.
void TstQ7Firmware::ignoredTraffic_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("rejected");

    QByteArray badSum = withChecksum(hex("01040000000000"));
    badSum[7] = char(badSum.at(7) ^ 0x01);
    QTest::newRow("bad checksum") << badSum << QByteArray() << 1;
    QTest::newRow("11H length byte wrong")
        << withChecksum(hex("11061000000000")) << pattern(8) << 1;
    QTest::newRow("12H without 01 .. 08")
        << withChecksum(hex("12004000000000")) << pattern(64) << 1;
    QTest::newRow("10H type 2 claiming 24")
        << withChecksum(hex("10021800000000")) << pattern(24) << 1;
    // A bulk set whose frames stop early is dropped when the next block arrives.
    QTest::newRow("13H cut short") << withChecksum(hex("13028000000000")) << pattern(96) << 0;
    QTest::newRow("13H slot 0") << withChecksum(hex("13008000000000")) << pattern(128) << 0;
    QTest::newRow("13H slot 13") << withChecksum(hex("130D8000000000")) << pattern(128) << 0;
    QTest::newRow("10H unknown type") << withChecksum(hex("10071800000000")) << pattern(24) << 0;
}

void TstQ7Firmware::ignoredTraffic()
{
    QFETCH(QByteArray, block);
    QFETCH(QByteArray, payload);
    QFETCH(int, rejected);
    Q7Firmware fw;
    const QByteArray before = snapshot(fw);
    command(fw, block);
    bulkOut(fw, payload);
    command(fw, withChecksum(hex("81000000000000")));
    QCOMPARE(fw.rejectedBlocks(), rejected);
    QCOMPARE(snapshot(fw).toHex(), before.toHex());
}

// Output frames are a full report long; only the bytes the command announced count.
void TstQ7Firmware::onlyFirstBytesOfFrameCount()
{
    Q7Firmware fw;
    const QByteArray palette = fw.colourTable(0);
    command(fw, withChecksum(hex("10020400000000")));
    bulkOut(fw, hex("10325476"), char(0x77));
    QCOMPARE(fw.colourTable(2), hex("10325476"));
    QCOMPARE(fw.colourTable(0), palette);
    QCOMPARE(fw.appliedBulkSets(), 1);
    // Stray frames after the payload change nothing.
    bulkOut(fw, QByteArray(32, char(0x55)));
    QCOMPARE(fw.colourTable(2), hex("10325476"));
    QCOMPARE(fw.appliedBulkSets(), 1);
}

void TstQ7Firmware::bulkInEndsAfterPayload()
{
    Q7Firmware fw;
    QByteArray macro = pattern(128, 3);
    command(fw, withChecksum(hex("13058000000000")));
    bulkOut(fw, macro);
    command(fw, withChecksum(hex("93050000000000")));
    QCOMPARE(answerOf(fw).left(2), hex("9305"));
    QCOMPARE(bulkIn(fw), macro);

    // A get without payload leaves nothing to read.
    command(fw, withChecksum(hex("81000000000000")));
    unsigned char frame[32];
    QVERIFY(!fw.nextBulkIn(frame, 32));
    QCOMPARE(answerOf(fw), withChecksum(hex("81010000000000")));
}

QTEST_MAIN(TstQ7Firmware)
#include "tst_q7firmware.moc"
