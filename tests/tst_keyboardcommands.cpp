// The keyboard command family on the wire (report length 64): blocks, payloads, settling and
// pauses, answers, and what each command hands back when the device or the transport fails.
#include "commandfixture.h"

#include <QtTest>

namespace
{

GetCall get83()
{
    return GetCall([](Hid_Thread& h) {
        uchar b1 = 0x31, b2 = 0x32, b3 = 0x33, b4 = 0x34;
        h.hid_83H_GetKeyboardoption(b1, b2, b3, b4);
        return bytes({b1, b2, b3, b4});
    });
}

GetCall get84()
{
    return GetCall([](Hid_Thread& h) {
        uchar s1 = 0x41, s2 = 0x42, s3 = 0x43, s4 = 0x44;
        h.hid_84H_GetButtonSensitivity(s1, s2, s3, s4);
        return bytes({s1, s2, s3, s4});
    });
}

GetCall get88()
{
    return GetCall([](Hid_Thread& h) {
        uchar effect = 0x51, speed = 0x52, light = 0x53, color = 0x54, direction = 0x55;
        h.hid_88H_GetLEDType(effect, speed, light, color, direction);
        return bytes({effect, speed, light, color, direction});
    });
}

GetCall get89()
{
    return GetCall([](Hid_Thread& h) {
        uchar mode = 0x61;
        h.hid_89H_GetKeyboardMode(mode);
        return bytes({mode});
    });
}

GetCall get94()
{
    return GetCall([](Hid_Thread& h) {
        uchar r = 0x71, g = 0x72, b = 0x73;
        h.hid_94H_GetColor(3, r, g, b);
        return bytes({r, g, b});
    });
}

} // namespace

class TstKeyboardCommands : public QObject
{
    Q_OBJECT
private slots:
    void setBlocks_data();
    void setBlocks() { verifySetRow(CommandFixture::Keyboard); }
    void getAnswers_data();
    void getAnswers() { verifyGetRow(CommandFixture::Keyboard); }
    void noDevice_data();
    void noDevice() { verifyNoDevice(CommandFixture::Keyboard); }
    void bulkGetStopsEarly_data();
    void bulkGetStopsEarly() { verifyBulkStopsEarly(CommandFixture::Keyboard); }
    void busyTransport_data();
    void busyTransport() { verifyBusyTransport(CommandFixture::Keyboard); }
};

void TstKeyboardCommands::setBlocks_data()
{
    addSetColumns();

    QTest::newRow("03H options") << SetCall([](Hid_Thread& h, uchar*) {
        h.hid_03H_SetKeyboardoption(1, 2, 3, 4);
    }) << hex("03010203040000F2") << 0
                                 << false << true;
    QTest::newRow("04H sensitivity")
        << SetCall([](Hid_Thread& h, uchar*) { h.hid_04H_SetButtonSensitivity(5, 6, 7, 8); })
        << hex("04050607080000E1") << 0 << true << false;
    QTest::newRow("07H indicator")
        << SetCall([](Hid_Thread& h, uchar*) { h.hid_07H_SetControlIndicatorLight(2, 9); })
        << hex("07020900000000ED") << 0 << false << true;
    QTest::newRow("08H LED type") << SetCall([](Hid_Thread& h, uchar*) {
        h.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6);
    }) << hex("08010203040506E2") << 0
                                  << true << false;
    QTest::newRow("09H mode") << SetCall(
                                     [](Hid_Thread& h, uchar*) { h.hid_09H_SetKeyboardMode(2); })
                              << hex("09020000000000F4") << 0 << true << false;
    QTest::newRow("0DH key matrix")
        << SetCall([](Hid_Thread& h, uchar* b) { h.hid_0DH_SetKeyMatrix(b); })
        << hex("0D000008000000EA") << 512 << true << false;
    QTest::newRow("0EH key on/off")
        << SetCall([](Hid_Thread& h, uchar* b) { h.hid_0EH_SetKeyOnOff(b); })
        << hex("0E000015000000DC") << 21 << true << false;
    QTest::newRow("11H macro 5") << SetCall([](Hid_Thread& h, uchar* b) {
        h.hid_11H_SetMacroKey(5, b);
    }) << hex("11000503000000E6") << 192
                                 << true << false;
    QTest::newRow("12H picture 2 option 1")
        << SetCall([](Hid_Thread& h, uchar* b) { h.hid_12H_SetUserPicture(2, 1, b); })
        << hex("12000208010000E2") << 512 << true << false;
    QTest::newRow("13H recovery") << SetCall(
                                         [](Hid_Thread& h, uchar*) { h.hid_13H_SetRecoveryData(); })
                                  << hex("13FF0000000000ED") << 0 << false << true;
    QTest::newRow("14H colour") << SetCall([](Hid_Thread& h, uchar*) {
        h.hid_14H_SetColor(3, 0x10, 0x20, 0x30);
    }) << hex("1400031020300088")
                                << 0 << false << true;
}

void TstKeyboardCommands::getAnswers_data()
{
    addGetColumns();

    QTest::newRow("83H") << get83() << hex("830000000000007C") << hex("8301020304") << QByteArray()
                         << bytes({1, 2, 3, 4});
    QTest::newRow("84H") << get84() << hex("840000000000007B") << hex("8405060708") << QByteArray()
                         << bytes({5, 6, 7, 8});
    // Answer byte 1 is the option of 08H and is not handed back.
    QTest::newRow("88H") << get88() << hex("8800000000000077") << hex("88090102030405")
                         << QByteArray() << bytes({1, 2, 3, 4, 5});
    QTest::newRow("89H") << get89() << hex("8900000000000076") << hex("8902") << QByteArray()
                         << bytes({2});
    QTest::newRow("94H slot 3") << get94() << hex("9400030000000068") << hex("940003102030")
                                << QByteArray() << bytes({0x10, 0x20, 0x30});
    QTest::newRow("8DH") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_8DH_GetKeyMatrix(b); },
                                    QByteArray(512, char(0xEE)))
                         << hex("8D00000000000072") << hex("8D") << pattern(512, 3)
                         << pattern(512, 3);
    QTest::newRow("8EH") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_8EH_GetKeyOnOff(b); },
                                    QByteArray(21, char(0xEE)))
                         << hex("8E00000000000071") << hex("8E") << pattern(21, 3)
                         << pattern(21, 3);
    QTest::newRow("91H macro 5") << bulkGet([](Hid_Thread& h,
                                               uchar* b) { h.hid_91H_GetMacroKey(5, b); },
                                            QByteArray(192, char(0xEE)))
                                 << hex("9100050000000069") << hex("91") << pattern(192, 6)
                                 << pattern(192, 6);
    QTest::newRow("92H picture 2")
        << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_92H_GetUserPicture(2, b); },
                   QByteArray(512, char(0xEE)))
        << hex("920002000000006B") << hex("92") << pattern(512, 8) << pattern(512, 8);
}

void TstKeyboardCommands::noDevice_data()
{
    addResultColumns();

    QTest::newRow("83H") << get83() << bytes({0x31, 0x32, 0x33, 0x34});
    QTest::newRow("84H") << get84() << bytes({0x41, 0x42, 0x43, 0x44});
    QTest::newRow("88H") << get88() << bytes({0x51, 0x52, 0x53, 0x54, 0x55});
    QTest::newRow("89H") << get89() << bytes({0x61});
    QTest::newRow("94H") << get94() << bytes({0x71, 0x72, 0x73});
    QTest::newRow("8DH") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_8DH_GetKeyMatrix(b); },
                                    pattern(512, 4))
                         << pattern(512, 4);
    QTest::newRow("8EH") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_8EH_GetKeyOnOff(b); },
                                    pattern(21, 4))
                         << pattern(21, 4);
    QTest::newRow("91H") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_91H_GetMacroKey(1, b); },
                                    pattern(192, 4))
                         << pattern(192, 4);
    QTest::newRow("92H") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_92H_GetUserPicture(0, b); },
                                    pattern(512, 4))
                         << pattern(512, 4);
}

void TstKeyboardCommands::bulkGetStopsEarly_data()
{
    addStopsEarlyColumns();

    const QByteArray mine512(512, char(0xEE));
    QTest::newRow("8DH three of eight")
        << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_8DH_GetKeyMatrix(b); }, mine512)
        << pattern(192) << pattern(192) + QByteArray(320, char(0xEE));
    QTest::newRow("91H two of three")
        << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_91H_GetMacroKey(7, b); },
                   QByteArray(192, char(0xEE)))
        << pattern(128) << pattern(128) + QByteArray(64, char(0xEE));
    QTest::newRow("92H seven of eight")
        << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_92H_GetUserPicture(4, b); }, mine512)
        << pattern(448) << pattern(448) + QByteArray(64, char(0xEE));
    QTest::newRow("8EH none") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_8EH_GetKeyOnOff(b); },
                                         QByteArray(21, char(0xEE)))
                              << QByteArray() << QByteArray(21, char(0xEE));
}

void TstKeyboardCommands::busyTransport_data()
{
    addBusyColumns();

    QTest::newRow("03H") << asGet([](Hid_Thread& h, uchar*) {
        h.hid_03H_SetKeyboardoption(1, 2, 3, 4);
    }) << QByteArray("cmd Failed 03")
                         << QByteArray();
    QTest::newRow("04H") << asGet([](Hid_Thread& h, uchar*) {
        h.hid_04H_SetButtonSensitivity(1, 2, 3, 4);
    }) << QByteArray("cmd Failed 04")
                         << QByteArray();
    QTest::newRow("07H") << asGet([](Hid_Thread& h, uchar*) {
        h.hid_07H_SetControlIndicatorLight(1, 2);
    }) << QByteArray("cmd Failed 07")
                         << QByteArray();
    QTest::newRow("08H") << asGet([](Hid_Thread& h, uchar*) {
        h.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6);
    }) << QByteArray("cmd Failed 08")
                         << QByteArray();
    QTest::newRow("09H") << asGet([](Hid_Thread& h, uchar*) { h.hid_09H_SetKeyboardMode(1); })
                         << QByteArray("cmd Failed 09") << QByteArray();
    QTest::newRow("0DH") << asGet([](Hid_Thread& h, uchar* b) { h.hid_0DH_SetKeyMatrix(b); })
                         << QByteArray("cmd Failed 0D") << QByteArray();
    QTest::newRow("0EH") << asGet([](Hid_Thread& h, uchar* b) { h.hid_0EH_SetKeyOnOff(b); })
                         << QByteArray("cmd Failed 0E") << QByteArray();
    QTest::newRow("11H") << asGet([](Hid_Thread& h, uchar* b) { h.hid_11H_SetMacroKey(1, b); })
                         << QByteArray("cmd Failed 11") << QByteArray();
    QTest::newRow("12H") << asGet(
                                [](Hid_Thread& h, uchar* b) { h.hid_12H_SetUserPicture(1, 0, b); })
                         << QByteArray("cmd Failed 12") << QByteArray();
    QTest::newRow("13H") << asGet([](Hid_Thread& h, uchar*) { h.hid_13H_SetRecoveryData(); })
                         << QByteArray("cmd Failed 13") << QByteArray();
    QTest::newRow("14H") << asGet([](Hid_Thread& h, uchar*) { h.hid_14H_SetColor(1, 2, 3, 4); })
                         << QByteArray("cmd Failed 14") << QByteArray();

    QTest::newRow("83H") << get83() << QByteArray("cmd Failed") << bytes({0x31, 0x32, 0x33, 0x34});
    QTest::newRow("88H") << get88() << QByteArray("cmd Failed")
                         << bytes({0x51, 0x52, 0x53, 0x54, 0x55});
    QTest::newRow("94H") << get94() << QByteArray("cmd Failed") << bytes({0x71, 0x72, 0x73});
    QTest::newRow("8DH") << bulkGet([](Hid_Thread& h, uchar* b) { h.hid_8DH_GetKeyMatrix(b); },
                                    pattern(512, 4))
                         << QByteArray("cmd Failed") << pattern(512, 4);
}

QTEST_MAIN(TstKeyboardCommands)
#include "tst_keyboardcommands.moc"
