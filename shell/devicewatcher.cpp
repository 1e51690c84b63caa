#include "devicewatcher.h"

#include <QDebug>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cstring>
#include <libudev.h>

DeviceWatcher::DeviceWatcher(QObject* parent) : QObject(parent) {}

DeviceWatcher::~DeviceWatcher()
{
    stop();
}

bool DeviceWatcher::isDeviceChange(const char* action)
{
    if (!action)
        return false;
    return std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0 ||
           std::strcmp(action, "change") == 0;
}

bool DeviceWatcher::start()
{
    if (m_monitor)
        return true;
    m_udev = udev_new();
    if (!m_udev) {
        qDebug() << "Device changes are not watched: no udev context";
        return false;
    }
    // Events processed by the udev daemon come after the node's permissions are set, so
    // prefer them; without a daemon (containers, minimal systems) listen to the kernel.
    const char* source = QFileInfo::exists(QStringLiteral("/run/udev/control")) ? "udev" : "kernel";
    m_monitor = udev_monitor_new_from_netlink(m_udev, source);
    if (!m_monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        qDebug() << "Device changes are not watched: cannot open a udev monitor";
        stop();
        return false;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &DeviceWatcher::readEvents);
    return true;
}

void DeviceWatcher::readEvents()
{
    // The monitor's socket does not block: drain it, one notification per relevant event.
    while (m_monitor) {
        udev_device* dev = udev_monitor_receive_device(m_monitor);
        if (!dev)
            break;
        const bool relevant = isDeviceChange(udev_device_get_action(dev));
        udev_device_unref(dev);
        if (relevant)
            emit devicesChanged();
    }
}

void DeviceWatcher::stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    m_monitor = nullptr;
    if (m_udev)
        udev_unref(m_udev);
    m_udev = nullptr;
}
