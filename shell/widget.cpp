#include "widget.h"

#include "devicetable.h"
#include "devicewatcher.h"
#include "myqquickview.h"
#include "ui_controler.h"
#include "userevent.h"

#include <QScopedValueRollback>

Widget::Widget(QWidget* parent, const QUrl& uiSource) : QWidget(parent)
{
    hid.owner = this;
    controller = new Ui_Controler(this, &hid, uiSource);
    controller->view->setHid(&hid);

    pollTimer.setInterval(kPollDelayMs);
    pollTimer.setSingleShot(true);
    // Coarse timers may fire 5 % early; the check is due 2048 ms after the last change.
    pollTimer.setTimerType(Qt::PreciseTimer);
    connect(&pollTimer, &QTimer::timeout, this, &Widget::checkDevice);
}

Widget::~Widget()
{
    // The system monitor must not call into a half-destroyed window.
    m_watcher.reset();
    pollTimer.stop();
    hid.stopMonitor();
    // A set command's exchange may still run on a pool worker and use the transport's
    // buffers; let it end before the transport goes away.
    hid.waitForIdle();
    controller->deleteLater();
}

bool Widget::startDeviceWatch()
{
    if (!m_watcher) {
        m_watcher.reset(new DeviceWatcher);
        connect(m_watcher.get(), &DeviceWatcher::devicesChanged, this, &Widget::onDeviceChange);
    }
    return m_watcher->start();
}

void Widget::checkDevice()
{
    // A get command inside the check may process events while it waits for the transport;
    // a check that comes due then runs after this one instead of inside it.
    if (m_checking) {
        pollTimer.start();
        return;
    }
    QScopedValueRollback<bool> checking(m_checking, true);
    const QList<DeviceDescriptor> descs = readDeviceTable();
    hid.enumerateDevices(descs);
    hid.swichCurDevice(hid.currentDevice);
    controller->view->syncFW();
    emit deviceChecked();
}

void Widget::onDeviceChange()
{
    // start() restarts a running timer, so a burst of notifications gives one check.
    pollTimer.start();
}

void Widget::customEvent(QEvent* event)
{
    // Anything can post an event of the first user type; only a real start event counts.
    const auto* user = dynamic_cast<UserEvent*>(event);
    if (user && event->type() == QEvent::Type(UserEvent::kType) &&
        user->code == UserEvent::kStartCode)
        controller->view->runUI();
}
