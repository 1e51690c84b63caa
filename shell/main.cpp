#include "devicetable.h"
#include "dialogs.h"
#include "hid_thread.h"
#include "hidrawaccess.h"
#include "inputcapture.h"
#include "myqquickview.h"
#include "noticereceiver.h"
#include "startupreport.h"
#include "ui_controler.h"
#include "userevent.h"
#include "virtualmouse.h"
#include "widget.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTextStream>
#include <cstring>
#include <memory>

namespace
{

// Options that need no window: these run on a plain core application, so they work
// without a display (over ssh, in scripts).
bool consoleOnly(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--notify") || !std::strncmp(a, "--notify=", 9) ||
            !std::strcmp(a, "--probe") || !std::strcmp(a, "--help") || !std::strcmp(a, "-h") ||
            !std::strcmp(a, "--help-all") || !std::strcmp(a, "--version") || !std::strcmp(a, "-v"))
            return true;
    }
    return false;
}

bool displayAvailable()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

void printErr(const QString& text)
{
    QTextStream(stderr) << text << '\n';
}

// Why the check accepted no mouse, as a text for the user.
QString diagnose(Hid_Thread& hid)
{
    const DeviceDescriptor mouse = readDeviceTable().value(1);
    const quint16 vid = mouse.vid ? mouse.vid : StartupReport::kMouseVid;
    const quint16 pid = mouse.pid ? mouse.pid : StartupReport::kMousePid;
    const QStringList denied = HidrawAccess().deniedNodes(vid, pid);
    const bool backendDenied = hid.backend() && hid.backend()->lastOpenDenied();
    if (backendDenied || !denied.isEmpty())
        return StartupReport::permissionText(denied);
    return StartupReport::noDeviceText();
}

void logDemoFirmware(Hid_Thread& hid)
{
    QString version;
    hid.hid_80H_GetFWVersion(version);
    printErr(QStringLiteral("Running on the virtual Q7 mouse, firmware %1.").arg(version));
}

// --probe: the device check without a window.
int probe(bool demo)
{
    VirtualMouse virtualMouse;
    Hid_Thread hid;
    if (demo)
        hid.setBackend(&virtualMouse);
    hid.enumerateDevices(readDeviceTable());
    hid.swichCurDevice(hid.currentDevice);
    if (deviceConnected) {
        QTextStream(stdout) << "A Q7 mouse is attached and usable.\n";
        return 0;
    }
    printErr(diagnose(hid));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    const bool gui = !consoleOnly(argc, argv) && displayAvailable();
    std::unique_ptr<QCoreApplication> app(gui ? new QApplication(argc, argv)
                                              : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("q7config"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configures the Q7 USB gaming mouse."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demoOpt(QStringLiteral("demo"),
                                     QStringLiteral("Run on the virtual Q7 mouse."));
    const QCommandLineOption uiDirOpt(QStringLiteral("ui-dir"),
                                      QStringLiteral("Load the UI documents from DIR instead "
                                                     "of the compiled-in copy."),
                                      QStringLiteral("DIR"));
    const QCommandLineOption notifyOpt(QStringLiteral("notify"),
                                       QStringLiteral("Show TEXT in the running configurator "
                                                      "and exit."),
                                       QStringLiteral("TEXT"));
    const QCommandLineOption probeOpt(QStringLiteral("probe"),
                                      QStringLiteral("Exit 0 when a Q7 mouse is attached and "
                                                     "usable, 1 otherwise."));
    parser.addOptions({demoOpt, uiDirOpt, notifyOpt, probeOpt});
    parser.process(*app);

    if (parser.isSet(notifyOpt)) {
        QString error;
        if (!NoticeReceiver::send(parser.value(notifyOpt), NoticeReceiver::defaultServerName(),
                                  2000, &error)) {
            printErr(QStringLiteral("q7config: %1").arg(error));
            return 1;
        }
        return 0;
    }

    // Resolved against the folder the user started in, before that changes below.
    QUrl uiSource;
    if (parser.isSet(uiDirOpt)) {
        const QFileInfo root(QDir(parser.value(uiDirOpt)), QStringLiteral("main.qml"));
        if (!root.isFile()) {
            printErr(QStringLiteral("q7config: %1 does not exist").arg(root.absoluteFilePath()));
            return 2;
        }
        uiSource = QUrl::fromLocalFile(root.absoluteFilePath());
    }

    // Every relative path of the program (./modules/...) is relative to the executable.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    const bool demo = parser.isSet(demoOpt);
    if (parser.isSet(probeOpt))
        return probe(demo);
    if (!gui) {
        printErr(QStringLiteral("q7config: no display found; the configurator needs a "
                                "graphical session (try --probe to check the mouse)."));
        return 2;
    }

    // Without OpenGL (virtual machines, remote sessions) the view would abort; draw the
    // documents in software there instead.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
        QOpenGLContext glProbe;
        if (!glProbe.create())
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    }

    // Removes the capture's hooks on every way out, before the window it delivers to goes.
    struct CaptureStopper {
        ~CaptureStopper() { InputCapture::instance().stop(); }
    };

    VirtualMouse virtualMouse;
    Widget w(nullptr, uiSource);
    if (demo)
        w.hid.setBackend(&virtualMouse);
    // Key assignment and macro recording see keys pressed anywhere on the desktop.
    InputCapture::instance().start(false);
    const CaptureStopper captureStopper;
    connectInputCaptureToView(w.controller->view);
    NoticeReceiver notices(&w);
    notices.listen();
    w.startDeviceWatch();

    w.checkDevice();
    if (!deviceConnected) {
        const QString text = diagnose(w.hid);
        printErr(text);
        // A box nobody can see would block for ever on the headless platforms.
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
            Dialogs::instance().warning(nullptr, QStringLiteral("Q7 Configurator"), text);
        return 1;
    }
    if (demo)
        logDemoFirmware(w.hid);

    w.showNormal();
    w.controller->view->initUI();
    QCoreApplication::postEvent(&w, new UserEvent(UserEvent::kStartCode));

    return app->exec();
}
