#include "linuxpointersystem.h"

#include <QtTest>

#include <X11/Xlib.h>

// The session implementation against a real X server (Xvfb). Xvfb's pointers are not driven
// by libinput, so this covers the core pointer control and the settings kept without a
// system-wide counterpart.
class TstX11PointerSystem : public QObject
{
    Q_OBJECT

    Display* m_dpy = nullptr;

    struct Control {
        int numerator = 0, denominator = 0, threshold = 0;
    };
    Control control()
    {
        Control c;
        XGetPointerControl(m_dpy, &c.numerator, &c.denominator, &c.threshold);
        return c;
    }

private slots:
    void initTestCase()
    {
        m_dpy = XOpenDisplay(nullptr);
        if (!m_dpy)
            QSKIP("no X display");
    }
    void cleanupTestCase()
    {
        if (m_dpy)
            XCloseDisplay(m_dpy);
    }
    void init()
    {
        // A known starting point: acceleration 3/2 above 7 counts.
        XChangePointerControl(m_dpy, True, True, 3, 2, 7);
        XSync(m_dpy, False);
    }

    void acceleration_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::newRow("off") << false << 1 << 1;
        QTest::newRow("on keeps the session's own factor") << true << 3 << 2;
    }
    void acceleration()
    {
        QFETCH(bool, on);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        LinuxPointerSystem system;

        QVERIFY(system.setAcceleration(on));

        bool got = !on;
        QVERIFY(system.acceleration(&got));
        QCOMPARE(got, on);
        const Control c = control();
        QCOMPARE(c.numerator, numerator);
        QCOMPARE(c.denominator, denominator);
        QCOMPARE(c.threshold, 7);
    }

    void accelerationBackOn()
    {
        LinuxPointerSystem system;
        QVERIFY(system.setAcceleration(false));
        QVERIFY(system.setAcceleration(true));
        const Control c = control();
        QVERIFY(c.numerator > c.denominator);
        QCOMPARE(c.threshold, 7);
    }

    void keptOnlySettings()
    {
        LinuxPointerSystem system;
        QVERIFY(system.hasDisplay());
        QVERIFY(!system.setWheelScrollLines(6));
        QVERIFY(!system.setDoubleClickTime(410));
        // No libinput pointer under Xvfb: the speed is kept, not applied.
        QVERIFY(!system.setCursorSpeed(16));
        int v = 0;
        system.cursorSpeed(&v);
        QCOMPARE(v, 16);
        system.wheelScrollLines(&v);
        QCOMPARE(v, 6);
        system.doubleClickTime(&v);
        QCOMPARE(v, 410);
        // None of it touched the core pointer control.
        QCOMPARE(control().numerator, 3);
    }
};

QTEST_GUILESS_MAIN(TstX11PointerSystem)
#include "tst_x11_pointersystem.moc"
