#include "hidrawaccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Finding the mouse's hidraw nodes in sysfs, so start-up can tell "not permitted" from
// "not attached".
class TestShellHidraw : public QObject
{
    Q_OBJECT

    // Lays out <sys>/hidrawN/device/uevent for each entry.
    static void addNode(const QString& sys, const QString& name, const QByteArray& uevent)
    {
        QVERIFY(QDir(sys).mkpath(name + "/device"));
        QFile f(sys + "/" + name + "/device/uevent");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(uevent);
    }

private slots:
    void parseHidId_data()
    {
        QTest::addColumn<QByteArray>("uevent");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::newRow("kernel form")
            << QByteArray("DRIVER=hid-generic\nHID_ID=0003:000004D9:0000A09F\nHID_NAME=x\n") << true
            << 0x04d9 << 0xa09f;
        QTest::newRow("lower case")
            << QByteArray("HID_ID=0003:000004d9:0000a09f") << true << 0x04d9 << 0xa09f;
        QTest::newRow("no HID_ID") << QByteArray("DRIVER=hid-generic\n") << false << 0 << 0;
        QTest::newRow("two fields") << QByteArray("HID_ID=000004D9:0000A09F") << false << 0 << 0;
        QTest::newRow("not hex") << QByteArray("HID_ID=0003:0000ZZZZ:0000A09F") << false << 0 << 0;
        QTest::newRow("id over 16 bits")
            << QByteArray("HID_ID=0003:000104D9:0000A09F") << false << 0 << 0;
    }
    void parseHidId()
    {
        QFETCH(QByteArray, uevent);
        QFETCH(bool, ok);
        QFETCH(int, vid);
        QFETCH(int, pid);
        quint16 v = 0, p = 0;
        QCOMPARE(HidrawAccess::parseHidId(uevent, &v, &p), ok);
        if (ok) {
            QCOMPARE(int(v), vid);
            QCOMPARE(int(p), pid);
        }
    }

    void findsOnlyTheMouseAndReportsDeniedNodes()
    {
        QTemporaryDir tmp;
        const QString sys = tmp.path() + "/sys";
        addNode(sys, "hidraw0", "HID_ID=0003:0000046D:0000C52B\n");
        addNode(sys, "hidraw1", "HID_ID=0003:000004D9:0000A09F\n");
        addNode(sys, "hidraw2", "HID_ID=0003:000004D9:0000A09F\n");
        addNode(sys, "hidraw3", "HID_ID=0003:000004D9:00008008\n");
        QVERIFY(QDir(sys).mkpath("hidraw4")); // no uevent at all

        HidrawAccess access(sys, "/dev");
        QCOMPARE(access.nodesFor(0x04d9, 0xa09f), QStringList({"/dev/hidraw1", "/dev/hidraw2"}));
        QStringList asked;
        access.setAccessCheck([&asked](const QString& node) {
            asked << node;
            return node != "/dev/hidraw2";
        });
        QCOMPARE(access.deniedNodes(0x04d9, 0xa09f), QStringList({"/dev/hidraw2"}));
        // Other devices' nodes are none of our business.
        QCOMPARE(asked, QStringList({"/dev/hidraw1", "/dev/hidraw2"}));
    }

    void noSysfsMeansNoNodes()
    {
        HidrawAccess access("/nonexistent/sys/class/hidraw");
        QVERIFY(access.nodesFor(0x04d9, 0xa09f).isEmpty());
        QVERIFY(access.deniedNodes(0x04d9, 0xa09f).isEmpty());
    }
};

QTEST_MAIN(TestShellHidraw)
#include "tst_shell_hidraw.moc"
