// The mouse command family on the wire: blocks, payloads, settling and pauses, answers, and
// what each command hands back when the device or the transport fails.
#include "commandfixture.h"

#include <QtTest>
#include <cstring>

namespace
{

using T = RecordingBackend::Transfer;

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QByteArray versionOf(Hid_Thread& h, const QString& before)
{
    QString v = before;
    h.hid_80H_GetFWVersion(v);
    return v.toLatin1();
}

} // namespace

class TstMouseCommands : public QObject
{
    Q_OBJECT
private slots:
    void setBlocks_data();
    void setBlocks();
    void getAnswers_data();
    void getAnswers();
    void noDevice_data();
    void noDevice();
    void bulkGetStopsEarly_data();
    void bulkGetStopsEarly();
    void busyTransport_data();
    void busyTransport();
    void missingBufferSendsNothing();
    void getAfterSetWaitsForItsExchange();
    void callerMayReuseBufferAfterSet();
};

void TstMouseCommands::setBlocks_data()
{
    QTest::addColumn<SetCall>("call");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("payload");
    QTest::addColumn<bool>("settle");
    QTest::addColumn<bool>("pause");

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

void TstMouseCommands::setBlocks()
{
    QFETCH(SetCall, call);
    QFETCH(QByteArray, block);
    QFETCH(int, payload);
    QFETCH(bool, settle);
    QFETCH(bool, pause);
    verifySetRow(CommandFixture::Mouse, call, block, payload, settle, pause);
}

void TstMouseCommands::getAnswers_data()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("bulk");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("80H 1.0A") << GetCall([](Hid_Thread& h) { return versionOf(h, "x"); })
                              << hex("800000000000007F") << hex("80010A") << QByteArray()
                              << QByteArray("1.0A");
    QTest::newRow("80H 1b.05") << GetCall([](Hid_Thread& h) { return versionOf(h, "x"); })
                               << hex("800000000000007F") << hex("801B05") << QByteArray()
                               << QByteArray("1b.05");
    QTest::newRow("80H zeros") << GetCall([](Hid_Thread& h) { return versionOf(h, "x"); })
                               << hex("800000000000007F") << hex("800000") << QByteArray()
                               << QByteArray("0.00");
    QTest::newRow("80H ff.ff") << GetCall([](Hid_Thread& h) { return versionOf(h, "x"); })
                               << hex("800000000000007F") << hex("80FFFF") << QByteArray()
                               << QByteArray("ff.FF");
    QTest::newRow("81H") << GetCall([](Hid_Thread& h) {
        uchar rate = 0x55;
        h.hid_81H_GetReportRate(rate);
        return bytes({rate});
    }) << hex("810000000000007E")
                         << hex("8104") << QByteArray() << bytes({4});
    QTest::newRow("82H") << GetCall([](Hid_Thread& h) {
        uchar profile = 0x55;
        h.hid_82H_GetCurrentProfile(profile);
        return bytes({profile});
    }) << hex("820000000000007D")
                         << hex("8207") << QByteArray() << bytes({7});
    // Byte 2 of the answer is the report rate and is not handed back.
    QTest::newRow("83H") << GetCall([](Hid_Thread& h) {
        uchar type = 0x55, o1 = 0x55, o2 = 0x55;
        h.hid_83H_GetFunctionOption(type, o1, o2);
        return bytes({type, o1, o2});
    }) << hex("830000000000007C")
                         << hex("8302014005") << QByteArray() << bytes({2, 0x40, 5});
    QTest::newRow("87H type 0") << GetCall([](Hid_Thread& h) {
        uchar o1 = 0x55, o2 = 0x55, o3 = 0x55;
        const bool ok = h.hid_87H_GetLEDInstructFunction(0, o1, o2, o3);
        return bytes({uchar(ok), o1, o2, o3});
    }) << hex("8700000000000078")
                                << hex("8700010203") << QByteArray() << bytes({1, 1, 2, 3});
    QTest::newRow("87H type 3") << GetCall([](Hid_Thread& h) {
        uchar o1 = 0x55, o2 = 0x55, o3 = 0x55;
        const bool ok = h.hid_87H_GetLEDInstructFunction(3, o1, o2, o3);
        return bytes({uchar(ok), o1, o2, o3});
    }) << hex("8703000000000075")
                                << hex("8703090807") << QByteArray() << bytes({1, 9, 8, 7});
    QTest::newRow("8BH") << GetCall([](Hid_Thread& h) {
        uchar stage = 0x55;
        h.hid_8BH_GetCurrentDPIStage(stage);
        return bytes({stage});
    }) << hex("8B00000000000074")
                         << hex("8B03") << QByteArray() << bytes({3});
    QTest::newRow("8DH") << GetCall([](Hid_Thread& h) {
        uchar effect = 0x55, o1 = 0x55, o2 = 0x55;
        h.hid_8DH_GetRGBLedEffect(effect, o1, o2);
        return bytes({effect, o1, o2});
    }) << hex("8D00000000000072")
                         << hex("8D04C802") << QByteArray() << bytes({4, 0xC8, 2});
    QTest::newRow("90H type 0") << GetCall([](Hid_Thread& h) {
        QByteArray buf(24, char(0xEE));
        h.hid_90H_GetLED8StageColor(0, reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << hex("900000000000006F")
                                << hex("900018") << pattern(24, 9) << pattern(24, 9);
    // Type 2 moves 4 bytes; the other 20 bytes of the caller's buffer are never touched.
    QTest::newRow("90H type 2") << GetCall([](Hid_Thread& h) {
        QByteArray buf(24, char(0xEE));
        h.hid_90H_GetLED8StageColor(2, reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << hex("900200000000006D")
                                << hex("900204") << pattern(4, 9)
                                << pattern(4, 9) + QByteArray(20, char(0xEE));
    QTest::newRow("91H") << GetCall([](Hid_Thread& h) {
        uchar max = 0x55;
        QByteArray buf(8, char(0xEE));
        const bool ok = h.hid_91H_GetDPISet(max, reinterpret_cast<uchar*>(buf.data()));
        return bytes({uchar(ok), max}) + buf;
    }) << hex("910000000000006E")
                         << hex("9106") << pattern(8, 3) << bytes({1, 6}) + pattern(8, 3);
    QTest::newRow("92H") << GetCall([](Hid_Thread& h) {
        QByteArray buf(64, char(0xEE));
        h.hid_92H_GetKeyMatrix(reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << hex("920100000000006C")
                         << hex("9201") << pattern(64, 5) << pattern(64, 5);
    QTest::newRow("93H macro 3") << GetCall([](Hid_Thread& h) {
        QByteArray buf(128, char(0xEE));
        h.hid_93H_GetMacroKey(3, reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << hex("9303000000000069") << hex("9303")
                                 << pattern(128, 2) << pattern(128, 2);
}

void TstMouseCommands::getAnswers()
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, block);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, bulk);
    QFETCH(QByteArray, expected);
    verifyGetRow(CommandFixture::Mouse, call, block, answer, bulk, expected);
}

void TstMouseCommands::noDevice_data()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("80H unknown") << GetCall([](Hid_Thread& h) { return versionOf(h, "1.0A"); })
                                 << QByteArray("unknown");
    QTest::newRow("81H keeps") << GetCall([](Hid_Thread& h) {
        uchar rate = 0x37;
        h.hid_81H_GetReportRate(rate);
        return bytes({rate});
    }) << bytes({0x37});
    QTest::newRow("82H keeps") << GetCall([](Hid_Thread& h) {
        uchar profile = 5;
        h.hid_82H_GetCurrentProfile(profile);
        return bytes({profile});
    }) << bytes({5});
    QTest::newRow("83H zero") << GetCall([](Hid_Thread& h) {
        uchar type = 9, o1 = 9, o2 = 9;
        h.hid_83H_GetFunctionOption(type, o1, o2);
        return bytes({type, o1, o2});
    }) << bytes({0, 0, 0});
    QTest::newRow("87H false") << GetCall([](Hid_Thread& h) {
        uchar o1 = 9, o2 = 9, o3 = 9;
        const bool ok = h.hid_87H_GetLEDInstructFunction(0, o1, o2, o3);
        return bytes({uchar(ok), o1, o2, o3});
    }) << bytes({0, 9, 9, 9});
    QTest::newRow("8BH zero") << GetCall([](Hid_Thread& h) {
        uchar stage = 9;
        h.hid_8BH_GetCurrentDPIStage(stage);
        return bytes({stage});
    }) << bytes({0});
    QTest::newRow("8DH zero") << GetCall([](Hid_Thread& h) {
        uchar effect = 9, o1 = 9, o2 = 9;
        h.hid_8DH_GetRGBLedEffect(effect, o1, o2);
        return bytes({effect, o1, o2});
    }) << bytes({0, 0, 0});
    QTest::newRow("90H keeps") << GetCall([](Hid_Thread& h) {
        QByteArray buf = pattern(24, 4);
        h.hid_90H_GetLED8StageColor(1, reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << pattern(24, 4);
    QTest::newRow("91H false") << GetCall([](Hid_Thread& h) {
        uchar max = 9;
        QByteArray buf = pattern(8, 4);
        const bool ok = h.hid_91H_GetDPISet(max, reinterpret_cast<uchar*>(buf.data()));
        return bytes({uchar(ok), max}) + buf;
    }) << bytes({0, 9}) + pattern(8, 4);
    QTest::newRow("92H keeps") << GetCall([](Hid_Thread& h) {
        QByteArray buf = pattern(64, 4);
        h.hid_92H_GetKeyMatrix(reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << pattern(64, 4);
    QTest::newRow("93H keeps") << GetCall([](Hid_Thread& h) {
        QByteArray buf = pattern(128, 4);
        h.hid_93H_GetMacroKey(1, reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << pattern(128, 4);
}

// The device is gone after an earlier get left a full answer block and payload behind, so a
// get that reads stale buffers instead of its own preset shows.
void TstMouseCommands::noDevice()
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, expected);
    CommandFixture f;
    f.queueAnswer(QByteArray(8, char(0x5A)));
    f.queueBulkIn(QByteArray(64, char(0x5A)));
    QByteArray stale(64, '\0');
    f.hid.hid_92H_GetKeyMatrix(reinterpret_cast<uchar*>(stale.data()));
    QCOMPARE(stale, QByteArray(64, char(0x5A)));

    f.backend.setOpenFails(true);
    f.backend.clear();
    QCOMPARE(call(f.hid).toHex(' '), expected.toHex(' '));
    QCOMPARE(f.backend.count(T::SendFeature), 0);
    QVERIFY(f.hid.transportIdle);
}

void TstMouseCommands::bulkGetStopsEarly_data()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("delivered");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("92H one of two") << GetCall([](Hid_Thread& h) {
        QByteArray buf(64, char(0xEE));
        h.hid_92H_GetKeyMatrix(reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << pattern(32) << pattern(32) + QByteArray(32, char(0xEE));
    QTest::newRow("93H two of four") << GetCall([](Hid_Thread& h) {
        QByteArray buf(128, char(0xEE));
        h.hid_93H_GetMacroKey(2, reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << pattern(64) << pattern(64) + QByteArray(64, char(0xEE));
    QTest::newRow("90H none") << GetCall([](Hid_Thread& h) {
        QByteArray buf(24, char(0xEE));
        h.hid_90H_GetLED8StageColor(0, reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << QByteArray() << QByteArray(24, char(0xEE));
    // 91H hands nothing back unless the whole exchange succeeded.
    QTest::newRow("91H none") << GetCall([](Hid_Thread& h) {
        uchar max = 9;
        QByteArray buf(8, char(0xEE));
        const bool ok = h.hid_91H_GetDPISet(max, reinterpret_cast<uchar*>(buf.data()));
        return bytes({uchar(ok), max}) + buf;
    }) << QByteArray() << bytes({0, 9}) + QByteArray(8, char(0xEE));
}

void TstMouseCommands::bulkGetStopsEarly()
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, delivered);
    QFETCH(QByteArray, expected);
    CommandFixture f;
    f.queueAnswer(hex("9901"));
    f.queueBulkIn(delivered);
    QCOMPARE(call(f.hid).toHex(' '), expected.toHex(' '));
    QVERIFY(f.hid.transportIdle);
}

void TstMouseCommands::busyTransport_data()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("expected");

    auto set = [](std::function<void(Hid_Thread&, uchar*)> f) {
        return GetCall([f](Hid_Thread& h) {
            QByteArray buf = pattern(512);
            f(h, reinterpret_cast<uchar*>(buf.data()));
            return QByteArray();
        });
    };
    QTest::newRow("01H") << set([](Hid_Thread& h, uchar*) { h.hid_01H_SetReportRate(1); })
                         << QByteArray("cmd Failed 01") << QByteArray();
    QTest::newRow("02H") << set([](Hid_Thread& h, uchar*) { h.hid_02H_SetCurrentProfile(1); })
                         << QByteArray("cmd Failed 02") << QByteArray();
    QTest::newRow("03H") << set([](Hid_Thread& h, uchar*) {
        h.hid_03H_SetFunctionOption(2, 1, 0, 0);
    }) << QByteArray("cmd Failed 03")
                         << QByteArray();
    QTest::newRow("07H") << set([](Hid_Thread& h, uchar*) {
        h.hid_07H_SetLEDInstructFunction(0, 0, 0, 0);
    }) << QByteArray("cmd Failed 07")
                         << QByteArray();
    QTest::newRow("0BH") << set([](Hid_Thread& h, uchar*) { h.hid_0BH_SetCurrentDPIStage(2); })
                         << QByteArray("cmd Failed 0B") << QByteArray();
    QTest::newRow("0DH") << set([](Hid_Thread& h, uchar*) { h.hid_0DH_SetRGBLedEffect(1, 2, 3); })
                         << QByteArray("cmd Failed 0D") << QByteArray();
    QTest::newRow("10H") << set([](Hid_Thread& h, uchar* b) { h.hid_10H_SetLED8StageColor(0, b); })
                         << QByteArray("cmd Failed 10") << QByteArray();
    QTest::newRow("11H") << set([](Hid_Thread& h, uchar* b) { h.hid_11H_SetDPISet(8, b); })
                         << QByteArray("cmd Failed 11") << QByteArray();
    QTest::newRow("12H") << set([](Hid_Thread& h, uchar* b) { h.hid_12H_SetKeyMatrix(b); })
                         << QByteArray("cmd Failed 12") << QByteArray();
    QTest::newRow("13H") << set([](Hid_Thread& h, uchar* b) { h.hid_13H_SetMacroKey(1, b); })
                         << QByteArray("cmd Failed 13") << QByteArray();

    QTest::newRow("80H keeps text") << GetCall([](Hid_Thread& h) { return versionOf(h, "old"); })
                                    << QByteArray("cmd Failed") << QByteArray("old");
    QTest::newRow("81H") << GetCall([](Hid_Thread& h) {
        uchar rate = 9;
        h.hid_81H_GetReportRate(rate);
        return bytes({rate});
    }) << QByteArray("cmd Failed")
                         << bytes({9});
    // Unlike a failed exchange, a failed claim leaves even the zeroing gets untouched.
    QTest::newRow("83H untouched") << GetCall([](Hid_Thread& h) {
        uchar type = 9, o1 = 9, o2 = 9;
        h.hid_83H_GetFunctionOption(type, o1, o2);
        return bytes({type, o1, o2});
    }) << QByteArray("cmd Failed") << bytes({9, 9, 9});
    QTest::newRow("87H false") << GetCall([](Hid_Thread& h) {
        uchar o1 = 9, o2 = 9, o3 = 9;
        const bool ok = h.hid_87H_GetLEDInstructFunction(0, o1, o2, o3);
        return bytes({uchar(ok), o1, o2, o3});
    }) << QByteArray("cmd Failed")
                               << bytes({0, 9, 9, 9});
    QTest::newRow("8BH untouched") << GetCall([](Hid_Thread& h) {
        uchar stage = 9;
        h.hid_8BH_GetCurrentDPIStage(stage);
        return bytes({stage});
    }) << QByteArray("cmd Failed") << bytes({9});
    QTest::newRow("91H false") << GetCall([](Hid_Thread& h) {
        uchar max = 9;
        QByteArray buf = pattern(8);
        const bool ok = h.hid_91H_GetDPISet(max, reinterpret_cast<uchar*>(buf.data()));
        return bytes({uchar(ok), max}) + buf;
    }) << QByteArray("cmd Failed")
                               << bytes({0, 9}) + pattern(8);
    QTest::newRow("92H untouched") << GetCall([](Hid_Thread& h) {
        QByteArray buf = pattern(64);
        h.hid_92H_GetKeyMatrix(reinterpret_cast<uchar*>(buf.data()));
        return buf;
    }) << QByteArray("cmd Failed") << pattern(64);
}

void TstMouseCommands::busyTransport()
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, expected);
    verifyBusyTransport(CommandFixture::Mouse, call, message.constData(), expected);
}

// A null buffer (a caller bug) must neither be read on the pool thread nor leave the
// transport claimed.
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
    f.hid.hid_11H_SetDPISet(8, reinterpret_cast<uchar*>(codes.data()));
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
    f.hid.hid_13H_SetMacroKey(4, reinterpret_cast<uchar*>(buffer.data()));
    buffer.fill(char(0xEE));
    QVERIFY(f.hid.waitForIdle(5000));

    QByteArray wire;
    for (const QByteArray& frame : f.wire(T::Write))
        wire += frame.mid(1);
    QCOMPARE(wire.toHex(' '), sent.toHex(' '));
}

QTEST_MAIN(TstMouseCommands)
#include "tst_mousecommands.moc"
