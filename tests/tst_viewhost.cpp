#include "myqquickview.h"
#include "shellfixture.h"
#include "ui_controler.h"
#include "virtualmouse.h"
#include "widget.h"

#include <QElapsedTimer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

// The view host's calls into the root document, and the root document's side of that
// contract: start-up, captured input and the UI lock.
class TestViewHost : public QObject
{
    Q_OBJECT

    VirtualMouse m_mouse;

    std::unique_ptr<Widget> makeWidget(const QUrl& source)
    {
        return makeHostWindow(source, m_mouse);
    }

private slots:
    void initTestCase() { m_mouse.setPresent(false); }

    void invokeRoot_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<bool>("queued");
        QTest::addColumn<QStringList>("expected");
        const QVariantList mouse{true, 1u, 10u, 20u};
        QTest::newRow("queued") << "detectMouse" << mouse << true
                                << QStringList{"mouse:true:1:10:20"};
        QTest::newRow("direct") << "detectMouse" << mouse << false
                                << QStringList{"mouse:true:1:10:20"};
        QTest::newRow("keyboard") << "detectKeyboard" << QVariantList{false, 0x04} << true
                                  << QStringList{"keyboard:false:4"};
        QTest::newRow("no arguments") << "run" << QVariantList{} << true << QStringList{"run"};
        QTest::newRow("unknown function")
            << "noSuchFunction" << QVariantList{} << false << QStringList{};
        QTest::newRow("wrong argument count")
            << "detectMouse" << QVariantList{true, 1u} << true << QStringList{};
        QVariantList eleven;
        for (int i = 0; i < 11; ++i)
            eleven << i;
        QTest::newRow("too many arguments") << "run" << eleven << true << QStringList{};
    }
    void invokeRoot()
    {
        QFETCH(QString, function);
        QFETCH(QVariantList, args);
        QFETCH(bool, queued);
        QFETCH(QStringList, expected);
        auto w = makeWidget(testDocument("viewhost"));
        QObject* root = w->controller->view->rootObject();
        w->controller->view->invokeRoot(function.toLatin1().constData(), args, queued);
        // A queued call waits for the event loop; a direct one has run already.
        QCOMPARE(rootLog(root), queued ? QStringList() : expected);
        QCoreApplication::processEvents();
        QCOMPARE(rootLog(root), expected);
    }

    void rootWithoutTheFunctionsIgnoresTheCalls()
    {
        auto w = makeWidget(testDocument("bare"));
        QVERIFY(w->controller->view->rootObject());
        w->controller->view->initUI();
        w->controller->view->runUI();
        w->controller->setBusy(800);
        QCoreApplication::processEvents();
        QVERIFY(w->controller->view->isEnabled());
    }

    void shippedRootLoadsCleanly()
    {
        auto w = makeWidget(Ui_Controler::defaultSource());
        myQQuickView* view = w->controller->view;
        QCOMPARE(view->status(), QQuickWidget::Ready);
        QVERIFY(view->errors().isEmpty());
        QQuickItem* root = view->rootObject();
        QVERIFY(root);
        QCOMPARE(QSize(int(root->width()), int(root->height())), QSize(1000, 600));
        QVERIFY(!root->isVisible()); // hidden until run
        for (const char* f :
             {"initUI()", "run()", "detectKeyboard(QVariant,QVariant)",
              "detectMouse(QVariant,QVariant,QVariant,QVariant)", "setProtectUI(QVariant)"})
            QVERIFY2(root->metaObject()->indexOfMethod(f) >= 0, f);
    }

    void shippedRootStartsAndRoutesKeys()
    {
        auto w = makeWidget(Ui_Controler::defaultSource());
        QQuickItem* root = w->controller->view->rootObject();
        QSignalSpy keys(root, SIGNAL(msg_KB(bool, int)));
        w->controller->view->initUI();
        w->controller->view->runUI();
        QTRY_VERIFY(root->isVisible());
        w->controller->view->invokeRoot("detectKeyboard", {true, 0x29}, true);
        w->controller->view->invokeRoot("detectMouse", {true, 1u, 5u, 6u}, true);
        QTRY_COMPARE(keys.count(), 1);
        QCOMPARE(keys.at(0).at(0).toBool(), true);
        QCOMPARE(keys.at(0).at(1).toInt(), 0x29);
        QVERIFY(w->controller->view->isEnabled());
    }

    void shippedRootShrinksToNothingBeforeClosing()
    {
        auto w = makeWidget(Ui_Controler::defaultSource());
        myQQuickView* view = w->controller->view;
        QQuickItem* root = view->rootObject();
        root->setProperty("animation_speed", 10);
        view->initUI();
        view->runUI();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTRY_VERIFY(root->isVisible());

        bool visibleAtZero = false;
        connect(root, &QQuickItem::heightChanged, this, [&] {
            if (qFuzzyIsNull(root->height()))
                visibleAtZero = w->isVisible();
        });
        auto* close = root->findChild<QQuickItem*>("closeArea");
        QVERIFY(close);
        const QPointF centre = close->mapToScene(QPointF(close->width(), close->height()) / 2);
        QTest::mouseClick(view, Qt::LeftButton, {}, centre.toPoint());
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 3000);
        QVERIFY(visibleAtZero);
        QCOMPARE(root->height(), 0.0);
    }

    // The lock's countdown: the same interval again lets it run on, a different one
    // starts it anew.
    void protectUI_data()
    {
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        // A restart by the second call, 700 ms in, would end the lock at 1700 ms.
        QTest::newRow("once") << 0 << 950 << 1600;
        QTest::newRow("same interval again") << 1000 << 950 << 1600;
        QTest::newRow("different interval") << 1200 << 1850 << 2700;
    }
    void protectUI()
    {
        QFETCH(int, second);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        auto w = makeWidget(Ui_Controler::defaultSource());
        myQQuickView* view = w->controller->view;
        QObject* busy = view->rootObject()->findChild<QObject*>("protectUIItem");
        QVERIFY(busy);

        QElapsedTimer t;
        t.start();
        w->controller->setBusy(1000);
        QVERIFY(!view->isEnabled());
        QVERIFY(busy->property("isBusy").toBool());
        if (second) {
            QTest::qWait(700);
            QVERIFY(!view->isEnabled());
            w->controller->setBusy(second);
        }
        QTRY_VERIFY_WITH_TIMEOUT(view->isEnabled(), 3000);
        const qint64 unlocked = t.elapsed();
        QVERIFY2(unlocked >= minMs && unlocked <= maxMs, qPrintable(QString::number(unlocked)));
        QVERIFY(!busy->property("isBusy").toBool());
    }
};

QTEST_MAIN(TestViewHost)
#include "tst_viewhost.moc"
