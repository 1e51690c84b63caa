#include "dialogs.h"
#include "noticereceiver.h"
#include "shellfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

// The program as users start it: its options, exit codes and messages.
class TestShellCli : public QObject
{
    Q_OBJECT

    QString m_exe;

    struct Result {
        int code = -1;
        QString out, err;
    };
    Result run(const QStringList& args, int timeoutMs = 20000)
    {
        QProcess p;
        p.start(m_exe, args);
        Result r;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished(2000);
            r.err = "timed out";
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase()
    {
        m_exe = QDir::current().absoluteFilePath("q7config");
        if (!QFileInfo(m_exe).isExecutable())
            QSKIP("q7config is not built in the working folder");
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--notify";
        QTest::newRow("demo probe") << QStringList{"--demo", "--probe"} << 0 << "usable";
        QTest::newRow("missing ui dir")
            << QStringList{"--ui-dir", "/nonexistent/q7ui"} << 2 << "does not exist";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 1 << "frobnicate";
        QTest::newRow("notify without a receiver")
            << QStringList{"--notify", "x"} << 1 << "no running configurator";
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, says);
        if (args.contains("--notify")) {
            // A configurator of this user may really be running; the probe lets go of the
            // name again before the program runs.
            NoticeReceiver probe(nullptr);
            if (!probe.listen())
                QSKIP("another configurator receives this user's notices");
        }
        const Result r = run(args);
        QCOMPARE(r.code, code);
        QVERIFY2((r.out + r.err).contains(says), qPrintable(r.out + r.err));
    }

    void withoutAMouseTheUserIsToldWhatToDo()
    {
        const Result probe = run({"--probe"});
        if (probe.code == 0)
            QSKIP("a Q7 mouse is attached to this machine");
        QCOMPARE(probe.code, 1);
        QVERIFY2(probe.err.contains("--demo") || probe.err.contains("udevadm"),
                 qPrintable(probe.err));
        // The window program says the same and ends instead of waiting hidden.
        const Result gui = run({});
        QCOMPARE(gui.code, 1);
        QCOMPARE(gui.err.contains("udevadm"), probe.err.contains("udevadm"));
    }

    void wholeStartUpOnTheVirtualMouse()
    {
        // The document closes the window when it is run; the exit code is the loop's.
        const Result r = run({"--demo", "--ui-dir", shellSourceDir() + "/tests/qml/autoclose"});
        QCOMPARE(r.code, 0);
        const int init = r.err.indexOf("root: initUI object object object");
        const int started = r.err.indexOf("root: run");
        QVERIFY2(init >= 0 && started > init, qPrintable(r.err));
    }

    void notifyReachesTheRunningReceiver()
    {
        QWidget window;
        window.setWindowTitle("Running");
        NoticeReceiver receiver(&window);
        if (!receiver.listen())
            QSKIP("another configurator receives this user's notices");
        ScriptedDialogs dialogs;
        Dialogs::install(&dialogs);
        QProcess p;
        p.start(m_exe, {"--notify", QString::fromUtf8("Profil gespeichert \xe2\x9c\x93")});
        // The receiver needs this thread's event loop while the sender runs.
        QTRY_COMPARE_WITH_TIMEOUT(p.state(), QProcess::NotRunning, 10000);
        QTRY_COMPARE(dialogs.warnings, 1);
        Dialogs::install(nullptr);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(dialogs.lastText, QString::fromUtf8("Profil gespeichert \xe2\x9c\x93"));
        QCOMPARE(dialogs.lastTitle, QString("Running"));
    }
};

QTEST_MAIN(TestShellCli)
#include "tst_shell_cli.moc"
