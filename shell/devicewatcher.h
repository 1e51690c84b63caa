#pragma once

#include <QObject>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells when HID raw devices come, go or change, through a libudev monitor on subsystem
// "hidraw" read from the event loop. The host window debounces these into one check.
class DeviceWatcher : public QObject
{
    Q_OBJECT
public:
    explicit DeviceWatcher(QObject* parent = nullptr);
    ~DeviceWatcher() override;

    // Opens the monitor. False (and one debug line) when the system offers none; the
    // program then still works, it just does not notice plugging.
    bool start();
    bool isRunning() const { return m_monitor != nullptr; }

    // The uevent actions that change the set of devices or their interfaces.
    static bool isDeviceChange(const char* action);

signals:
    void devicesChanged();

private:
    void readEvents();
    void stop();

    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};
