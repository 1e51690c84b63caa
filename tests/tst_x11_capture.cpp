// End to end on an X server (run under xvfb-run): keys and a button pressed with xdotool
// reach the root document of the view as detectKeyboard and detectMouse calls, in order.
#include "inputcapture.h"
#include "myqquickview.h"

#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestX11Capture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void keysAndButtonReachTheDocument();

private:
    // Runs xdotool with a bounded wait.
    bool xdotool(const QStringList& args);
    QString log() const { return m_view->rootObject()->property("log").toString(); }

    QTemporaryDir m_dir;
    QScopedPointer<myQQuickView> m_view;
};

void TestX11Capture::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (run under xvfb-run)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("needs xdotool");
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);

    QVERIFY(m_dir.isValid());
    const QString qml = m_dir.filePath(QStringLiteral("root.qml"));
    QFile file(qml);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("import QtQuick 2.15\n"
               "Item {\n"
               "    width: 100; height: 100\n"
               "    property string log: \"\"\n"
               "    function detectKeyboard(isDown, usage) {\n"
               "        log += \"k \" + isDown + \" \" + usage + \";\"\n"
               "    }\n"
               "    function detectMouse(isDown, code, x, y) {\n"
               "        log += \"m \" + isDown + \" \" + code + \" \" + x + \" \" + y + \";\"\n"
               "    }\n"
               "}\n");
    file.close();

    m_view.reset(new myQQuickView);
    m_view->setSource(QUrl::fromLocalFile(qml));
    QVERIFY(m_view->rootObject());

    QVERIFY2(InputCapture::instance().start(false), "X input capture did not start");
    QVERIFY(InputCapture::instance().isGlobal());
    connectInputCaptureToView(m_view.data());
}

void TestX11Capture::cleanupTestCase()
{
    InputCapture::instance().stop();
    m_view.reset();
    // The receivers went with the view.
    QCOMPARE(InputCapture::instance().keyboardContext(), nullptr);
}

bool TestX11Capture::xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void TestX11Capture::keysAndButtonReachTheDocument()
{
    QVERIFY(xdotool({"mousemove", "--sync", "123", "234"}));
    QVERIFY(xdotool({"key", "a"}));
    QVERIFY(xdotool({"key", "KP_Enter"}));
    // Right Control by its keycode (evdev 97 + 8): by name, xdotool also presses the left one
    // as the Control modifier.
    QVERIFY(xdotool({"key", "105"}));
    QVERIFY(xdotool({"mousedown", "1"}));
    QVERIFY(xdotool({"mouseup", "1"}));
    // A wheel step and a side button give nothing.
    QVERIFY(xdotool({"click", "4"}));
    QVERIFY(xdotool({"click", "8"}));
    QVERIFY(xdotool({"key", "b"}));

    const QString expected = QStringLiteral("k true 4;k false 4;"
                                            "k true 88;k false 88;"
                                            "k true 228;k false 228;"
                                            "m true 240 123 234;m false 240 123 234;"
                                            "k true 5;k false 5;");
    QTRY_COMPARE_WITH_TIMEOUT(log(), expected, 5000);
}

QTEST_MAIN(TestX11Capture)
#include "tst_x11_capture.moc"
