// The translation of captured input: scan codes with their flags to keyboard usages, the
// key-down state that passes on only changes, the mouse button codes, the X keycode and
// button conversion, and the window fallback.
#include "inputcapture.h"
#include "x11inputsource.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <QtTest>

namespace
{

struct KeyIn {
    bool down;
    uint scan;
    bool ext;
    bool alt;
};

using KeyOut = QPair<int, bool>; // usage, isDown

struct ButtonOut {
    uint code;
    bool down;
    int x, y;
};

struct Recorder {
    QList<KeyOut> keys;
    QList<ButtonOut> buttons;

    static void onKey(uchar usage, bool isDown, void* context)
    {
        static_cast<Recorder*>(context)->keys.append({usage, isDown});
    }
    static void onButton(uint code, bool isDown, int x, int y, void* context)
    {
        static_cast<Recorder*>(context)->buttons.append({code, isDown, x, y});
    }
    void attach(InputCapture& capture)
    {
        capture.setKeyboardCallback(&Recorder::onKey, this);
        capture.setMouseCallback(&Recorder::onButton, this);
    }
};

KeyIn press(uint scan, bool ext = false, bool alt = false)
{
    return {true, scan, ext, alt};
}
KeyIn release(uint scan, bool ext = false, bool alt = false)
{
    return {false, scan, ext, alt};
}

} // namespace

Q_DECLARE_METATYPE(QList<KeyIn>)
Q_DECLARE_METATYPE(QList<KeyOut>)

class TestInputCapture : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void unsetReceiverDropsButKeepsState();

    void buttons_data();
    void buttons();

    void xKeycodes_data();
    void xKeycodes();
    void xButtons_data();
    void xButtons();

    void windowFallback();
};

void TestInputCapture::keys_data()
{
    QTest::addColumn<bool>("useNonUsHash");
    QTest::addColumn<QList<KeyIn>>("events");
    QTest::addColumn<QList<KeyOut>>("expected");

    const bool E = true;
    QTest::newRow("A held down, then released")
        << false << QList<KeyIn>{press(0x1E), press(0x1E), press(0x1E), release(0x1E)}
        << QList<KeyOut>{{0x04, true}, {0x04, false}};
    QTest::newRow("release never seen down")
        << false << QList<KeyIn>{release(0x1E)} << QList<KeyOut>{};
    QTest::newRow("keypad Enter") << false << QList<KeyIn>{press(0x1C, E)}
                                  << QList<KeyOut>{{0x58, true}};
    QTest::newRow("Enter") << false << QList<KeyIn>{press(0x1C)} << QList<KeyOut>{{0x28, true}};
    QTest::newRow("right Control")
        << false << QList<KeyIn>{press(0x1D, E)} << QList<KeyOut>{{0xE4, true}};
    QTest::newRow("left Control") << false << QList<KeyIn>{press(0x1D)}
                                  << QList<KeyOut>{{0xE0, true}};
    QTest::newRow("54 without Alt") << false << QList<KeyIn>{press(0x54)} << QList<KeyOut>{};
    QTest::newRow("54 with Alt is Print Screen")
        << false << QList<KeyIn>{press(0x54, false, true)} << QList<KeyOut>{{0x46, true}};
    QTest::newRow("Print Screen and Alt+54 share one state")
        << false << QList<KeyIn>{press(0x37, E), press(0x54, false, true), release(0x37, E)}
        << QList<KeyOut>{{0x46, true}, {0x46, false}};
    QTest::newRow("46 extended is Pause")
        << false << QList<KeyIn>{press(0x46, E)} << QList<KeyOut>{{0x48, true}};
    QTest::newRow("46 is Scroll Lock")
        << false << QList<KeyIn>{press(0x46)} << QList<KeyOut>{{0x47, true}};
    QTest::newRow("45 is Pause, 45 extended is Num Lock")
        << false << QList<KeyIn>{press(0x45), press(0x45, E)}
        << QList<KeyOut>{{0x48, true}, {0x53, true}};
    QTest::newRow("36 without the extended flag")
        << false << QList<KeyIn>{press(0x36)} << QList<KeyOut>{};
    QTest::newRow("36 extended is right Shift")
        << false << QList<KeyIn>{press(0x36, E)} << QList<KeyOut>{{0xE5, true}};
    QTest::newRow("A with the extended flag")
        << false << QList<KeyIn>{press(0x1E, E)} << QList<KeyOut>{};
    QTest::newRow("Alt does not change other keys")
        << false << QList<KeyIn>{press(0x1E, false, true)} << QList<KeyOut>{{0x04, true}};
    QTest::newRow("code above one byte is no key")
        << false << QList<KeyIn>{press(0x11E)} << QList<KeyOut>{};
    QTest::newRow("Up arrow and keypad 8") << false << QList<KeyIn>{press(0x48, E), press(0x48)}
                                           << QList<KeyOut>{{0x52, true}, {0x60, true}};
    QTest::newRow("F11, F12, F23") << false << QList<KeyIn>{press(0x57), press(0x58), press(0x6E)}
                                   << QList<KeyOut>{{0x44, true}, {0x45, true}, {0x72, true}};
    QTest::newRow("backslash") << false << QList<KeyIn>{press(0x2B)} << QList<KeyOut>{{0x31, true}};
    QTest::newRow("backslash as non-US hash")
        << true << QList<KeyIn>{press(0x2B)} << QList<KeyOut>{{0x32, true}};
    QTest::newRow("interleaved keys keep their own state")
        << false
        << QList<KeyIn>{press(0x2A), press(0x1E), release(0x2A), press(0x1E), release(0x1E)}
        << QList<KeyOut>{{0xE1, true}, {0x04, true}, {0xE1, false}, {0x04, false}};
}

void TestInputCapture::keys()
{
    QFETCH(bool, useNonUsHash);
    QFETCH(QList<KeyIn>, events);
    QFETCH(QList<KeyOut>, expected);

    InputCapture capture;
    capture.fillTables(useNonUsHash);
    Recorder rec;
    rec.attach(capture);
    for (const KeyIn& e : events)
        capture.keyEvent(e.down, e.scan, e.ext, e.alt);
    QCOMPARE(rec.keys, expected);
}

void TestInputCapture::unsetReceiverDropsButKeepsState()
{
    InputCapture capture;
    capture.fillTables(false);
    capture.keyEvent(true, 0x1E, false, false);
    Recorder rec;
    rec.attach(capture);
    capture.keyEvent(true, 0x1E, false, false);
    capture.keyEvent(false, 0x1E, false, false);
    QCOMPARE(rec.keys, (QList<KeyOut>{{0x04, false}}));
}

void TestInputCapture::buttons_data()
{
    QTest::addColumn<uint>("message");
    QTest::addColumn<int>("code"); // 0: nothing
    QTest::addColumn<bool>("down");

    QTest::newRow("left down") << 0x0201u << 0xF0 << true;
    QTest::newRow("left up") << 0x0202u << 0xF0 << false;
    QTest::newRow("left double click") << 0x0203u << 0 << false;
    QTest::newRow("right down") << 0x0204u << 0xF1 << true;
    QTest::newRow("right up") << 0x0205u << 0xF1 << false;
    QTest::newRow("right double click") << 0x0206u << 0 << false;
    QTest::newRow("middle down") << 0x0207u << 0xF2 << true;
    QTest::newRow("middle up") << 0x0208u << 0xF2 << false;
    QTest::newRow("middle double click") << 0x0209u << 0 << false;
    QTest::newRow("wheel") << 0x020Au << 0 << false;
    QTest::newRow("side button down") << 0x020Bu << 0 << false;
    QTest::newRow("side button up") << 0x020Cu << 0 << false;
    QTest::newRow("movement") << 0x0200u << 0 << false;
}

void TestInputCapture::buttons()
{
    QFETCH(uint, message);
    QFETCH(int, code);
    QFETCH(bool, down);

    InputCapture capture;
    Recorder rec;
    rec.attach(capture);
    // Buttons keep no state: a repeated event is passed on again.
    capture.mouseMessage(message, -5, 700);
    capture.mouseMessage(message, 10, 20);
    if (code == 0) {
        QCOMPARE(rec.buttons.size(), 0);
        return;
    }
    QCOMPARE(rec.buttons.size(), 2);
    QCOMPARE(rec.buttons.at(0).code, uint(code));
    QCOMPARE(rec.buttons.at(0).down, down);
    QCOMPARE(rec.buttons.at(0).x, -5);
    QCOMPARE(rec.buttons.at(0).y, 700);
    QCOMPARE(rec.buttons.at(1).x, 10);
}

void TestInputCapture::xKeycodes_data()
{
    QTest::addColumn<uint>("keycode"); // X keycode = evdev code + 8
    QTest::addColumn<int>("usage");    // after the translation; 0: nothing

    QTest::newRow("A") << 38u << 0x04;
    QTest::newRow("Escape") << 9u << 0x29;
    QTest::newRow("Enter") << 36u << 0x28;
    QTest::newRow("keypad Enter") << 104u << 0x58;
    QTest::newRow("right Control") << 105u << 0xE4;
    QTest::newRow("left Control") << 37u << 0xE0;
    QTest::newRow("right Shift") << 62u << 0xE5;
    QTest::newRow("right Alt") << 108u << 0xE6;
    QTest::newRow("Print Screen (SysRq)") << 107u << 0x46;
    QTest::newRow("Print") << 218u << 0x46;
    QTest::newRow("Pause") << 127u << 0x48;
    QTest::newRow("Num Lock") << 77u << 0x53;
    QTest::newRow("Scroll Lock") << 78u << 0x47;
    QTest::newRow("keypad slash") << 106u << 0x54;
    QTest::newRow("keypad asterisk") << 63u << 0x55;
    QTest::newRow("keypad 7") << 79u << 0x5F;
    QTest::newRow("Home") << 110u << 0x4A;
    QTest::newRow("Up") << 111u << 0x52;
    QTest::newRow("Left") << 113u << 0x50;
    QTest::newRow("Right") << 114u << 0x4F;
    QTest::newRow("Down") << 116u << 0x51;
    QTest::newRow("Insert") << 118u << 0x49;
    QTest::newRow("Delete") << 119u << 0x4C;
    QTest::newRow("left GUI") << 133u << 0xE3;
    QTest::newRow("right GUI has no usage") << 134u << 0;
    QTest::newRow("Application") << 135u << 0x65;
    QTest::newRow("non-US backslash") << 94u << 0x64;
    QTest::newRow("F11") << 95u << 0x44;
    QTest::newRow("F12") << 96u << 0x45;
    QTest::newRow("F23") << 201u << 0x72;
    QTest::newRow("below the keycode offset") << 3u << 0;
    QTest::newRow("unassigned 84") << 92u << 0;
    QTest::newRow("unknown high keycode") << 255u << 0;
}

void TestInputCapture::xKeycodes()
{
    QFETCH(uint, keycode);
    QFETCH(int, usage);

    InputCapture capture;
    capture.fillTables(false);
    uint scan = 0;
    bool ext = false;
    const bool known = X11InputSource::scanCodeOf(keycode, &scan, &ext);
    QCOMPARE(known ? int(capture.usageFor(scan, ext, false)) : 0, usage);
}

void TestInputCapture::xButtons_data()
{
    QTest::addColumn<uint>("button");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("code");

    QTest::newRow("1 is left") << 1u << true << 0xF0;
    QTest::newRow("1 released") << 1u << false << 0xF0;
    QTest::newRow("3 is right") << 3u << true << 0xF1;
    QTest::newRow("2 is middle") << 2u << true << 0xF2;
    QTest::newRow("wheel up") << 4u << true << 0;
    QTest::newRow("side button") << 8u << true << 0;
    QTest::newRow("button 12") << 12u << true << 0;
}

void TestInputCapture::xButtons()
{
    QFETCH(uint, button);
    QFETCH(bool, down);
    QFETCH(int, code);

    bool isDown = !down;
    QCOMPARE(int(InputCapture::buttonFor(X11InputSource::messageOf(button, down), &isDown)), code);
    if (code)
        QCOMPARE(isDown, down);
}

// Without an X display the program's own windows are watched, with the same translation.
void TestInputCapture::windowFallback()
{
    InputCapture capture;
    capture.fillTables(false);
    Recorder rec;
    rec.attach(capture);
    WindowInputSource source(&capture);

    QWindow window;
    window.create();
    QVERIFY(window.handle());
    QKeyEvent keyDown(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, 104, 0, 0);
    QKeyEvent keyUp(QEvent::KeyRelease, Qt::Key_Enter, Qt::NoModifier, 104, 0, 0);
    // A held key repeats as release and press pairs marked as repeats: the key stays down.
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Enter, Qt::NoModifier, 104, 0, 0, QString(),
                       true);
    QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, 104, 0, 0, QString(),
                         true);
    QCoreApplication::sendEvent(&window, &keyDown);
    QCoreApplication::sendEvent(&window, &keyDown);
    QCoreApplication::sendEvent(&window, &repeatUp);
    QCoreApplication::sendEvent(&window, &repeatDown);
    QCoreApplication::sendEvent(&window, &keyUp);
    QCOMPARE(rec.keys, (QList<KeyOut>{{0x58, true}, {0x58, false}}));

    QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 2), QPointF(30, 40), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(1, 2), QPointF(30, 40), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &click);
    QCoreApplication::sendEvent(&window, &dbl);
    QCOMPARE(rec.buttons.size(), 1);
    QCOMPARE(rec.buttons.at(0).code, 0xF1u);
    QCOMPARE(rec.buttons.at(0).down, true);
    QCOMPARE(rec.buttons.at(0).x, 30);
    QCOMPARE(rec.buttons.at(0).y, 40);

    // Objects that are not platform windows see the same event again as it travels on.
    QObject plain;
    QKeyEvent again(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 0, 0);
    QCoreApplication::sendEvent(&plain, &again);
    QCOMPARE(rec.keys.size(), 2);
}

QTEST_MAIN(TestInputCapture)
#include "tst_inputcapture.moc"
