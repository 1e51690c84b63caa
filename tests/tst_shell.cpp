#include "myqquickview.h"
#include "shellfixture.h"
#include "ui_controler.h"
#include "userevent.h"
#include "virtualmouse.h"
#include "widget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QQuickItem>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The host window and the window controller: how the window is dressed, the start
// sequence, the device-change debounce and the window operations of the documents.
class TestShell : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_oldDir;
    VirtualMouse m_mouse;

    // A host window on the recording document, on a mouse that is not plugged in.
    std::unique_ptr<Widget> makeWidget(const QUrl& source = testDocument("viewhost"))
    {
        return makeHostWindow(source, m_mouse);
    }
    static QObject* root(Widget& w) { return w.controller->view->rootObject(); }

private slots:
    void initTestCase()
    {
        // The window title comes from ./modules/setting/apConfig.bin of the current folder.
        QVERIFY(m_home.isValid());
        QVERIFY(QDir(m_home.path()).mkpath("modules/setting"));
        QSettings ap(m_home.path() + "/modules/setting/apConfig.bin", QSettings::IniFormat);
        ap.setValue("common/name", "Q7 Test Title");
        ap.sync();
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_home.path());
        m_mouse.setPresent(false);
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldDir); }

    void windowIsFramelessTranslucentAndSizedByTheRoot()
    {
        auto w = makeWidget(Ui_Controler::defaultSource());
        QCOMPARE(w->windowFlags(), Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
        QVERIFY(w->testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(w->styleSheet(), QString("background:transparent;"));
        QCOMPARE(w->windowOpacity(), 1.0);
        QCOMPARE(w->size(), QSize(1000, 600));
        QCOMPARE(w->windowTitle(), QString("Q7 Test Title"));
        QCOMPARE(w->objectName(), QString("Widget"));
        QCOMPARE(w->controller->view->objectName(), QString("ui_View"));
        QCOMPARE(w->controller->view->parentWidget(), w.get());
        QCOMPARE(w->controller->hostWindow.data(), w.get());
        QVERIFY(w->controller->view->rootObject());
    }

    void titleIsEmptyWithoutConfiguration()
    {
        QTemporaryDir empty;
        QDir::setCurrent(empty.path());
        auto w = makeWidget();
        QDir::setCurrent(m_home.path());
        QCOMPARE(w->windowTitle(), QString());
        QCOMPARE(w->size(), QSize(1000, 600));
    }

    void brokenDocumentStillGivesAFullSizeWindow()
    {
        QTemporaryDir dir;
        QFile f(dir.path() + "/main.qml");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("import QtQuick 2.15\nItem { width: 1000; height: \n");
        f.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(".*main.qml.*"));
        auto w = makeWidget(QUrl::fromLocalFile(f.fileName()));
        QVERIFY(!w->controller->view->rootObject());
        QCOMPARE(w->size(), QSize(1000, 600));
        // Start calls into a missing root are quiet no-ops.
        w->controller->view->initUI();
        w->controller->setBusy(800);
        QCoreApplication::processEvents();
    }

    void hostObjectName_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty becomes Widget") << QString() << QString("Widget");
        QTest::newRow("a set name is kept") << QString("MainHost") << QString("MainHost");
    }
    void hostObjectName()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QWidget host;
        host.setObjectName(before);
        Ui_Controler ctl(&host, nullptr, testDocument("viewhost"));
        QCOMPARE(host.objectName(), after);
        QCOMPARE(ctl.view->objectName(), QString("ui_View"));
    }

    void publishedNamesAppearOnlyAfterLoading()
    {
        auto w = makeWidget();
        QObject* r = root(*w);
        QVERIFY(r);
        QCOMPARE(rootValue(r, "namesAtLoad").toString(), QString("undefined,undefined,undefined"));
        w->controller->view->initUI();
        QTRY_COMPARE(rootValue(r, "namesAtInit").toString(), QString("object,object,object"));
    }

    void initUIRunsBeforeRun()
    {
        // The order start-up uses: queue initUI, then post the start event.
        auto w = makeWidget();
        w->controller->view->initUI();
        QCoreApplication::postEvent(w.get(), new UserEvent(UserEvent::kStartCode));
        QVERIFY(rootLog(root(*w)).isEmpty()); // both are queued
        QTRY_COMPARE(rootLog(root(*w)), QStringList({"initUI", "run"}));
    }

    void onlyTheStartEventRunsTheDocuments_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("runs");
        QTest::newRow("start code") << 2177 << true;
        QTest::newRow("other code") << 2176 << false;
        QTest::newRow("zero") << 0 << false;
    }
    void onlyTheStartEventRunsTheDocuments()
    {
        QFETCH(int, code);
        QFETCH(bool, runs);
        auto w = makeWidget();
        QCoreApplication::postEvent(w.get(), new UserEvent(code));
        // A plain event of the same type must not be taken for a start event.
        QCoreApplication::postEvent(w.get(), new QEvent(QEvent::Type(UserEvent::kType)));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(rootLog(root(*w)).contains("run"), runs);
    }

    void aBurstOfDeviceChangesGivesOneCheckAfterTheLast()
    {
        auto w = makeWidget();
        QSignalSpy checks(w.get(), &Widget::deviceChecked);
        QElapsedTimer sinceLast;
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                QTest::qWait(1000);
            QCOMPARE(checks.count(), 0);
            w->onDeviceChange();
            sinceLast.start();
        }
        QTRY_COMPARE_WITH_TIMEOUT(checks.count(), 1, 4000);
        const qint64 delay = sinceLast.elapsed();
        QVERIFY2(delay >= 2040 && delay < 2800, qPrintable(QString::number(delay)));
        QTest::qWait(500);
        QCOMPARE(checks.count(), 1);
    }

    void aDeviceChangeWhileHiddenStillSchedulesACheck()
    {
        auto w = makeWidget();
        QVERIFY(!w->isVisible());
        QSignalSpy checks(w.get(), &Widget::deviceChecked);
        w->onDeviceChange();
        QVERIFY(w->pollTimer.isActive());
        QTRY_COMPARE_WITH_TIMEOUT(checks.count(), 1, 3000);
        QVERIFY(!w->isVisible());
    }

    void laterChecksNeverShowTheWindow()
    {
        // No mouse at the first check; the mouse appears and the next check accepts it.
        auto w = makeWidget();
        w->checkDevice();
        QVERIFY(!deviceConnected);
        m_mouse.setPresent(true);
        w->checkDevice();
        m_mouse.setPresent(false);
        QVERIFY(deviceConnected);
        QCoreApplication::processEvents();
        QVERIFY(!w->isVisible());
        QVERIFY(!rootLog(root(*w)).contains("run"));
        w->checkDevice();
        QVERIFY(!deviceConnected);
    }

    void destroyingTheWindowStopsTheDeviceMonitor()
    {
        // The monitor polls the event interface on a pool thread; the window must stop it
        // and wait for it before the transport it reads goes away.
        auto w = makeWidget();
        m_mouse.setPresent(true);
        w->checkDevice();
        w->hid.swichCurDevice(0);
        w->hid.swichCurDevice(1);
        QVERIFY(w->hid.isMonitorRunning());
        QElapsedTimer t;
        t.start();
        w.reset();
        m_mouse.setPresent(false);
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
    }

    void aCheckDueDuringACheckRunsAfterIt()
    {
        auto w = makeWidget();
        QSignalSpy checks(w.get(), &Widget::deviceChecked);
        bool nested = false;
        connect(w.get(), &Widget::deviceChecked, this, [&] {
            if (!nested) {
                nested = true;
                w->checkDevice(); // as if the timer fired while the check waited
            }
        });
        w->checkDevice();
        QCOMPARE(checks.count(), 1);
        QVERIFY(w->pollTimer.isActive());
    }

    void movesAreRelative()
    {
        auto w = makeWidget();
        w->move(100, 100);
        w->controller->onXChanged(10);
        QCOMPARE(w->pos(), QPoint(110, 100));
        w->controller->onYChanged(-5);
        QCOMPARE(w->pos(), QPoint(110, 95));
        w->controller->onXChanged(0);
        QCOMPARE(w->pos(), QPoint(110, 95));
        // No bounds: the window may go off screen.
        w->controller->onXChanged(-5000);
        QCOMPARE(w->pos(), QPoint(-4890, 95));
    }

    void setBusyCallsTheDocumentDirectly()
    {
        auto w = makeWidget();
        w->controller->setBusy(1600);
        w->controller->setBusy();
        // Direct calls: recorded before any event is processed.
        QCOMPARE(rootLog(root(*w)), QStringList({"setProtectUI:1600", "setProtectUI:0"}));
    }

    void onMinimizeClosesTheWindowAndEndsTheApplication()
    {
        auto w = makeWidget();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // Closing the only window ends the event loop with its normal exit code.
        QTimer::singleShot(0, w->controller, &Ui_Controler::onMinimize);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
        guard.start(5000);
        const int rc = QCoreApplication::exec();
        guard.stop();
        QCOMPARE(rc, 0);
        QVERIFY(!w->isVisible());
    }

    void slotsWithoutAHostDoNothing()
    {
        auto host = std::make_unique<QWidget>();
        Ui_Controler ctl(host.get(), nullptr, testDocument("viewhost"));
        host.reset(); // takes the view, its child, with it
        QVERIFY(!ctl.hostWindow);
        QVERIFY(!ctl.view);
        ctl.onXChanged(10);
        ctl.onYChanged(10);
        ctl.onMinimize();
        ctl.setBusy(5);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
