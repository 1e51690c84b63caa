#include "ui_controler.h"

#include "hid_thread.h"
#include "myqquickview.h"
#include "settingsfile.h"

#include <QDebug>
#include <QQmlContext>
#include <QQmlError>
#include <QQuickItem>
#include <QSettings>
#include <QWidget>

QUrl Ui_Controler::defaultSource()
{
    return QUrl(QStringLiteral("qrc:modules/qml/main.qml"));
}

QString Ui_Controler::apConfigPath()
{
    return QStringLiteral("./modules/setting/apConfig.bin");
}

Ui_Controler::Ui_Controler(QWidget* host, Hid_Thread* hid, const QUrl& source)
{
    if (host->objectName().isEmpty())
        host->setObjectName(QStringLiteral("Widget"));
    hostWindow = host;

    host->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    host->setWindowOpacity(1.0);
    host->setAttribute(Qt::WA_TranslucentBackground);
    host->setStyleSheet(QStringLiteral("background:transparent;"));

    view = new myQQuickView(host);
    view->setObjectName(QStringLiteral("ui_View"));
    // A QQuickWidget is opaque unless it clears to transparent and stacks on top of its
    // translucent parent.
    view->setClearColor(Qt::transparent);
    view->setAttribute(Qt::WA_AlwaysStackOnTop);
    // The view follows the root item: 1000 x 600 at load, and it shrinks with the root's
    // close animation instead of fighting it.
    view->setResizeMode(QQuickWidget::SizeViewToRootObject);

    view->setSource(source.isEmpty() ? defaultSource() : source);
    if (view->status() == QQuickWidget::Error) {
        // The window stays empty; the errors at least reach the debug output.
        for (const QQmlError& e : view->errors())
            qWarning().noquote() << e.toString();
    }
    if (!view->rootObject())
        view->resize(kDefaultWidth, kDefaultHeight);

    // Published only now: nothing that runs while the document loads may rely on them.
    QQmlContext* ctx = view->rootContext();
    ctx->setContextProperty(QStringLiteral("ui_View"), view);
    ctx->setContextProperty(QStringLiteral("hid"), hid);
    ctx->setContextProperty(QStringLiteral("ui_Ctl"), this);

    host->resize(view->size());

    QSettings apConfig(SettingsFile::usablePath(apConfigPath()), QSettings::IniFormat);
    host->setWindowTitle(apConfig.value(QStringLiteral("common/name")).toString());
}

void Ui_Controler::onMinimize()
{
    // Closing, not minimising: the host is the only top-level window, so this ends the
    // application.
    if (hostWindow)
        hostWindow->close();
}

void Ui_Controler::onXChanged(int x)
{
    if (hostWindow)
        hostWindow->move(hostWindow->x() + x, hostWindow->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (hostWindow)
        hostWindow->move(hostWindow->x(), hostWindow->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (view)
        view->invokeRoot("setProtectUI", {QVariant(busyTime)}, false);
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
