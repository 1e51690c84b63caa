#pragma once

#include "hid_thread.h"

#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <memory>

class Ui_Controler;
class DeviceWatcher;

// The application's only top-level window. It holds the transport, runs the device check
// (once at start-up, then 2048 ms after each burst of device-change notifications) and
// starts the UI documents when it receives the start event. It draws nothing itself: the
// view host fills it and the window is frameless and translucent.
class Widget : public QWidget
{
    Q_OBJECT
public:
    // Delay between the last device-change notification of a burst and the check.
    static constexpr int kPollDelayMs = 2048;

    // uiSource: the root document; empty for the compiled-in one.
    explicit Widget(QWidget* parent = nullptr, const QUrl& uiSource = QUrl());
    ~Widget() override;

    QTimer pollTimer;
    Ui_Controler* controller = nullptr;
    Hid_Thread hid;

    // Starts watching the system for device changes (libudev). Separate from the
    // constructor so tests and tools can run a window without a system monitor.
    bool startDeviceWatch();

public slots:
    void checkDevice();
    // A device was added, removed or changed: (re)start the debounce timer. Works while
    // the window is hidden as well.
    void onDeviceChange();

signals:
    // Emitted at the end of every device check.
    void deviceChecked();

protected:
    void customEvent(QEvent* event) override;

private:
    std::unique_ptr<DeviceWatcher> m_watcher;
    bool m_checking = false;
};
