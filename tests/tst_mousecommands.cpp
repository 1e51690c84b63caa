// The mouse command family on the wire: blocks, payloads, settling and pauses, answers, and
// what each command hands back when the device or the transport fails.
#include "commandfixture.h"

#include <QtTest>

namespace
{

using T = RecordingBackend::Transfer;

// The gets with their out-parameters preset to values no answer, preset or zeroing gives.
GetCall get80(const QString& before)
{
    return GetCall([before](Hid_Thread& h) {
        QString v = before;
        h.hid_80H_GetFWVersion(v);
        return v.toLatin1();
    });
}

GetCall get81()
{
    return GetCall([](Hid_Thread& h) {
        uchar rate = 0x37;
        h.hid_81H_GetReportRate(rate);
        return bytes({rate});
    });
}

GetCall get82()
{
    return GetCall([](Hid_Thread& h) {
        uchar profile = 0x35;
        h.hid_82H_GetCurrentProfile(profile);
        return bytes({profile});
    });
}

GetCall get83()
{
    return GetCall([](Hid_Thread& h) {
        uchar type = 0x39, o1 = 0x39, o2 = 0x39;
        h.hid_83H_GetFunctionOption(type, o1, o2);
        return bytes({type, o1, o2});
    });
}

// The success flag first, then the three options.
GetCall get87(uchar type)
{
    return GetCall([type](Hid_Thread& h) {
        uchar o1 = 0x39, o2 = 0x39, o3 = 0x39;
        const bool ok = h.hid_87H_GetLEDInstructFunction(type, o1, o2, o3);
        return bytes({uchar(ok), o1, o2, o3});
    });
}

GetCall get8B()
{
    return GetCall([](Hid_Thread& h) {
        uchar stage = 0x39;
        h.hid_8BH_GetCurrentDPIStage(stage);
        return bytes({stage});
    });
}

GetCall get8D()
{
    return GetCall([](Hid_Thread& h) {
        uchar effect = 0x39, o1 = 0x39, o2 = 0x39;
        h.hid_8DH_GetRGBLedEffect(effect, o1, o2);
        return bytes({effect, o1, o2});
    });
}

GetCall get90(uchar type, const QByteArray& mine)
{
    return bulkGet([type](Hid_Thread& h, uchar* b) { h.hid_90H_GetLED8StageColor(type, b); }, mine);
}

// The success flag, the stage count, then the eight codes.
GetCall get91(const QByteArray& mine)
{
    return GetCall([mine](Hid_Thread& h) {
        uchar max = 0x39;
        QByteArray buf = mine;
        const bool ok = h.hid_91H_GetDPISet(max, raw(buf));
        return bytes({uchar(ok), max}) + buf;
    });
}

GetCall get92(const QByteArray& mine)
{
    return bulkGet([](Hid_Thread& h, uchar* b) { h.hid_92H_GetKeyMatrix(b); }, mine);
}

GetCall get93(uchar macroId, const QByteArray& mine)
{
    return bulkGet([macroId](Hid_Thread& h, uchar* b) { h.hid_93H_GetMacroKey(macroId, b); }, mine);
}

const QByteArray kMine8(8, char(0xEE));
const QByteArray kMine24(24, char(0xEE));
const QByteArray kMine64(64, char(0xEE));
const QByteArray kMine128(128, char(0xEE));

} // namespace

class TstMouseCommands : public QObject
{
    Q_OBJECT
private slots:
    void setBlocks_data();
    void setBlocks() { verifySetRow(CommandFixture::Mouse); }
    void getAnswers_data();
    void getAnswers() { verifyGetRow(CommandFixture::Mouse); }
    void noDevice_data();
    void noDevice() { verifyNoDevice(CommandFixture::Mouse); }
    void bulkGetStopsEarly_data();
    void bulkGetStopsEarly() { verifyBulkStopsEarly(CommandFixture::Mouse); }
    void busyTransport_data();
    void busyTransport() { verifyBusyTransport(CommandFixture::Mouse); }
    void missingBufferSendsNothing();
    void getAfterSetWaitsForItsExchange();
    void callerMayReuseBufferAfterSet();
};

void TstMouseCommands::setBlocks_data()
{
    addSetColumns();

    QTest::newRow("01H rate 8") << SetCall(
                                       [](Hid_Thread& h, uchar*) { h.hid_01H_SetReportRate(8); })
                                << hex("01080000000000F6") << 0 << true << false;
    QTest::newRow("01H rate 1") << SetCall(
                                       [](Hid_Thread& h, uchar*) { h.hid_01H_SetReportRate(1); })
                                << hex("01010000000000FD") << 0 << true << false;
    QTest::newRow("02H profile 3")
        << SetCall([](Hid_Thread& h, uchar*) { h.hid_02H_SetCurrentProfile(3); })
        << hex("02030000000000FA") << 0 << false << true;
    QTest::newRow("03H function option")
        << SetCall([](Hid_Thread& h, uchar*) { h.hid_03H_SetFunctionOption(2, 1, 0x40, 5); })
        << hex("03020140050000B4") << 0 << true << true;
    QTest::newRow("07H LED instruct")
        << SetCall([](Hid_Thread& h, uchar*) { h.hid_07H_SetLEDInstructFunction(0, 1, 2, 3); })
        << hex("07000102030000F2") << 0 << false << false;
    QTest::newRow("0BH stage 3") << SetCall([](Hid_Thread& h, uchar*) {
        h.hid_0BH_SetCurrentDPIStage(3);
    }) << hex("0B030000000000F1") << 0
                                 << true << false;
    QTest::newRow("0DH effect") << SetCall([](Hid_Thread& h, uchar*) {
        h.hid_0DH_SetRGBLedEffect(4, 0xC8, 2);
    }) << hex("0D04C80200000024")
                                << 0 << true << false;
    QTest::newRow("10H type 0") << SetCall([](Hid_Thread& h, uchar* b) {
        h.hid_10H_SetLED8StageColor(0, b);
    }) << hex("10001800000000D7")
                                << 24 << true << false;
    QTest::newRow("10H type 1") << SetCall([](Hid_Thread& h, uchar* b) {
        h.hid_10H_SetLED8StageColor(1, b);
    }) << hex("10011800000000D6")
                                << 24 << true << false;
    QTest::newRow("10H type 2") << SetCall([](Hid_Thread& h, uchar* b) {
        h.hid_10H_SetLED8StageColor(2, b);
    }) << hex("10020400000000E9")
                                << 4 << true << false;
    QTest::newRow("10H type 7") << SetCall([](Hid_Thread& h, uchar* b) {
        h.hid_10H_SetLED8StageColor(7, b);
    }) << hex("10071800000000D0")
                                << 24 << true << false;
    QTest::newRow("11H six stages")
        << SetCall([](Hid_Thread& h, uchar* b) { h.hid_11H_SetDPISet(6, b); })
        << hex("11060800000000E0") << 8 << true << false;
    QTest::newRow("12H key matrix")
        << SetCall([](Hid_Thread& h, uchar* b) { h.hid_12H_SetKeyMatrix(b); })
        << hex("12014008000000A4") << 64 << true << false;
    QTest::newRow("13H macro 5") << SetCall([](Hid_Thread& h, uchar* b) {
        h.hid_13H_SetMacroKey(5, b);
    }) << hex("1305800000000067") << 128
                                 << true << false;
}

void TstMouseCommands::getAnswers_data()
{
    addGetColumns();

    QTest::newRow("80H 1.0A") << get80("x") << hex("800000000000007F") << hex("80010A")
                              << QByteArray() << QByteArray("1.0A");
    QTest::newRow("80H 1b.05") << get80("x") << hex("800000000000007F") << hex("801B05")
                               << QByteArray() << QByteArray("1b.05");
    QTest::newRow("80H zeros") << get80("x") << hex("800000000000007F") << hex("800000")
                               << QByteArray() << QByteArray("0.00");
    QTest::newRow("80H ff.ff") << get80("x") << hex("800000000000007F") << hex("80FFFF")
                               << QByteArray() << QByteArray("ff.FF");
    QTest::newRow("81H") << get81() << hex("810000000000007E") << hex("8104") << QByteArray()
                         << bytes({4});
    QTest::newRow("82H") << get82() << hex("820000000000007D") << hex("8207") << QByteArray()
                         << bytes({7});
    // Byte 2 of the answer is the report rate and is not handed back.
    QTest::newRow("83H") << get83() << hex("830000000000007C") << hex("8302014005") << QByteArray()
                         << bytes({2, 0x40, 5});
    QTest::newRow("87H type 0") << get87(0) << hex("8700000000000078") << hex("8700010203")
                                << QByteArray() << bytes({1, 1, 2, 3});
    QTest::newRow("87H type 3") << get87(3) << hex("8703000000000075") << hex("87030A0807")
                                << QByteArray() << bytes({1, 0x0A, 8, 7});
    QTest::newRow("8BH") << get8B() << hex("8B00000000000074") << hex("8B03") << QByteArray()
                         << bytes({3});
    QTest::newRow("8DH") << get8D() << hex("8D00000000000072") << hex("8D04C802") << QByteArray()
                         << bytes({4, 0xC8, 2});
    QTest::newRow("90H type 0") << get90(0, kMine24) << hex("900000000000006F") << hex("900018")
                                << pattern(24, 9) << pattern(24, 9);
    // Type 2 moves 4 bytes; the other 20 bytes of the caller's buffer are never touched.
    QTest::newRow("90H type 2") << get90(2, kMine24) << hex("900200000000006D") << hex("900204")
                                << pattern(4, 9) << pattern(4, 9) + QByteArray(20, char(0xEE));
    QTest::newRow("91H") << get91(kMine8) << hex("910000000000006E") << hex("9106") << pattern(8, 3)
                         << bytes({1, 6}) + pattern(8, 3);
    QTest::newRow("92H") << get92(kMine64) << hex("920100000000006C") << hex("9201")
                         << pattern(64, 5) << pattern(64, 5);
    QTest::newRow("93H macro 3") << get93(3, kMine128) << hex("9303000000000069") << hex("9303")
                                 << pattern(128, 2) << pattern(128, 2);
}

void TstMouseCommands::noDevice_data()
{
    addResultColumns();

    QTest::newRow("80H unknown") << get80("1.0A") << QByteArray("unknown");
    QTest::newRow("81H keeps") << get81() << bytes({0x37});
    QTest::newRow("82H keeps") << get82() << bytes({0x35});
    QTest::newRow("83H zero") << get83() << bytes({0, 0, 0});
    QTest::newRow("87H false") << get87(0) << bytes({0, 0x39, 0x39, 0x39});
    QTest::newRow("8BH zero") << get8B() << bytes({0});
    QTest::newRow("8DH zero") << get8D() << bytes({0, 0, 0});
    QTest::newRow("90H keeps") << get90(1, pattern(24, 4)) << pattern(24, 4);
    QTest::newRow("91H false") << get91(pattern(8, 4)) << bytes({0, 0x39}) + pattern(8, 4);
    QTest::newRow("92H keeps") << get92(pattern(64, 4)) << pattern(64, 4);
    QTest::newRow("93H keeps") << get93(1, pattern(128, 4)) << pattern(128, 4);
}

void TstMouseCommands::bulkGetStopsEarly_data()
{
    addStopsEarlyColumns();

    QTest::newRow("92H one of two")
        << get92(kMine64) << pattern(32) << pattern(32) + QByteArray(32, char(0xEE));
    QTest::newRow("93H two of four")
        << get93(2, kMine128) << pattern(64) << pattern(64) + QByteArray(64, char(0xEE));
    QTest::newRow("90H none") << get90(0, kMine24) << QByteArray() << kMine24;
    // 91H hands nothing back unless the whole exchange succeeded.
    QTest::newRow("91H none") << get91(kMine8) << QByteArray() << bytes({0, 0x39}) + kMine8;
}

void TstMouseCommands::busyTransport_data()
{
    addBusyColumns();

    QTest::newRow("01H") << asGet([](Hid_Thread& h, uchar*) { h.hid_01H_SetReportRate(1); })
                         << QByteArray("cmd Failed 01") << QByteArray();
    QTest::newRow("02H") << asGet([](Hid_Thread& h, uchar*) { h.hid_02H_SetCurrentProfile(1); })
                         << QByteArray("cmd Failed 02") << QByteArray();
    QTest::newRow("03H") << asGet([](Hid_Thread& h, uchar*) {
        h.hid_03H_SetFunctionOption(2, 1, 0, 0);
    }) << QByteArray("cmd Failed 03")
                         << QByteArray();
    QTest::newRow("07H") << asGet([](Hid_Thread& h, uchar*) {
        h.hid_07H_SetLEDInstructFunction(0, 0, 0, 0);
    }) << QByteArray("cmd Failed 07")
                         << QByteArray();
    QTest::newRow("0BH") << asGet([](Hid_Thread& h, uchar*) { h.hid_0BH_SetCurrentDPIStage(2); })
                         << QByteArray("cmd Failed 0B") << QByteArray();
    QTest::newRow("0DH") << asGet([](Hid_Thread& h, uchar*) { h.hid_0DH_SetRGBLedEffect(1, 2, 3); })
                         << QByteArray("cmd Failed 0D") << QByteArray();
    QTest::newRow("10H") << asGet(
                                [](Hid_Thread& h, uchar* b) { h.hid_10H_SetLED8StageColor(0, b); })
                         << QByteArray("cmd Failed 10") << QByteArray();
    QTest::newRow("11H") << asGet([](Hid_Thread& h, uchar* b) { h.hid_11H_SetDPISet(8, b); })
                         << QByteArray("cmd Failed 11") << QByteArray();
    QTest::newRow("12H") << asGet([](Hid_Thread& h, uchar* b) { h.hid_12H_SetKeyMatrix(b); })
                         << QByteArray("cmd Failed 12") << QByteArray();
    QTest::newRow("13H") << asGet([](Hid_Thread& h, uchar* b) { h.hid_13H_SetMacroKey(1, b); })
                         << QByteArray("cmd Failed 13") << QByteArray();

    QTest::newRow("80H keeps text")
        << get80("old") << QByteArray("cmd Failed") << QByteArray("old");
    QTest::newRow("81H") << get81() << QByteArray("cmd Failed") << bytes({0x37});
    // Unlike a failed exchange, a failed claim leaves even the zeroing gets untouched.
    QTest::newRow("83H untouched")
        << get83() << QByteArray("cmd Failed") << bytes({0x39, 0x39, 0x39});
    QTest::newRow("87H false") << get87(0) << QByteArray("cmd Failed")
                               << bytes({0, 0x39, 0x39, 0x39});
    QTest::newRow("8BH untouched") << get8B() << QByteArray("cmd Failed") << bytes({0x39});
    QTest::newRow("91H false") << get91(pattern(8)) << QByteArray("cmd Failed")
                               << bytes({0, 0x39}) + pattern(8);
    QTest::newRow("92H untouched") << get92(pattern(64)) << QByteArray("cmd Failed") << pattern(64);
}

void TstMouseCommands::missingBufferSendsNothing()
{
    CommandFixture f;
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 12");
    f.hid.hid_12H_SetKeyMatrix(nullptr);
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    f.hid.hid_92H_GetKeyMatrix(nullptr);
    uchar max = 3;
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    QVERIFY(!f.hid.hid_91H_GetDPISet(max, nullptr));
    QCOMPARE(max, uchar(3));
    QCOMPARE(f.backend.transfers().size(), 0);
    QVERIFY(f.hid.transportIdle);
}

void TstMouseCommands::getAfterSetWaitsForItsExchange()
{
    CommandFixture f;
    f.setRealSleeps(true);
    f.queueAnswer(hex("8104"));
    QByteArray codes = pattern(8);
    f.hid.hid_11H_SetDPISet(8, raw(codes));
    // The set has only started: its exchange settles for at least 64 ms before the payload.
    uchar rate = 0;
    f.hid.hid_81H_GetReportRate(rate);
    QCOMPARE(rate, uchar(4));

    const QList<T> log = f.backend.transfers();
    QList<T::Kind> kinds;
    for (const T& t : log) {
        if (t.kind != T::Open && t.kind != T::Close)
            kinds.append(t.kind);
    }
    QCOMPARE(kinds, (QList<T::Kind>{T::SendFeature, T::Write, T::SendFeature, T::GetFeature}));
    QCOMPARE(f.wire(T::SendFeature).value(0), QByteArray(1, '\0') + hex("11080800000000DE"));
    // The get polled its claim while the set's exchange held the transport.
    QVERIFY(f.callerSleeps().contains(8));
}

void TstMouseCommands::callerMayReuseBufferAfterSet()
{
    CommandFixture f;
    f.setRealSleeps(true);
    const QByteArray sent = pattern(128, 11);
    QByteArray buffer = sent;
    f.hid.hid_13H_SetMacroKey(4, raw(buffer));
    buffer.fill(char(0xEE));
    QVERIFY(f.hid.waitForIdle(5000));

    QByteArray wire;
    for (const QByteArray& frame : f.wire(T::Write))
        wire += frame.mid(1);
    QCOMPARE(wire.toHex(' '), sent.toHex(' '));
}

QTEST_MAIN(TstMouseCommands)
#include "tst_mousecommands.moc"
