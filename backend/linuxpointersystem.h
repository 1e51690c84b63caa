#pragma once

#include "pointersystem.h"

#include <QByteArray>
#include <QList>

struct _XDisplay;

// The pointer settings an X11 session offers system-wide, through the X server the program
// runs on:
// - speed: the "libinput Accel Speed" property (-1..1) of every pointer device driven by
//   libinput; the core protocol has no speed of its own, so without such a device the speed
//   is kept but not applied;
// - acceleration: the "libinput Accel Profile Enabled" property (adaptive on, flat off) of
//   the same devices, otherwise the core pointer control (XChangePointerControl), keeping its
//   threshold;
// - wheel lines and double-click time: X has no session-wide setting for them (each toolkit
//   keeps its own), so they are kept and reported as not applied.
// Without a display every setting is kept and reported as not applied.
class LinuxPointerSystem : public PointerSystem
{
public:
    // displayName: as for XOpenDisplay; empty uses $DISPLAY. The display opens on first use.
    explicit LinuxPointerSystem(const QByteArray& displayName = QByteArray());
    ~LinuxPointerSystem() override;

    LinuxPointerSystem(const LinuxPointerSystem&) = delete;
    LinuxPointerSystem& operator=(const LinuxPointerSystem&) = delete;

    // Speed 1..20 to libinput's -1..1 and back: 10 (unscaled) is libinput's 0, 1 its -1
    // and 20 its 1, linear in between on each side.
    static double libinputSpeedFor(int speed);
    static int speedForLibinput(double accelSpeed);
    // The "libinput Accel Profile Enabled" items (adaptive, flat and, on newer drivers,
    // custom) with acceleration on (adaptive) or off (flat); the length stays the device's.
    static QByteArray accelProfileFor(const QByteArray& current, bool on);

    bool setCursorSpeed(int speed) override;
    bool cursorSpeed(int* speed) override;
    bool setWheelScrollLines(int lines) override;
    bool wheelScrollLines(int* lines) override;
    bool setDoubleClickTime(int ms) override;
    bool doubleClickTime(int* ms) override;
    bool setAcceleration(bool on) override;
    bool acceleration(bool* on) override;

    // Whether a display could be opened (opens it if not tried yet).
    bool hasDisplay();

private:
    _XDisplay* display();
    // Slave pointer devices that carry the named property.
    QList<int> devicesWith(const char* property);

    QByteArray m_displayName;
    _XDisplay* m_display = nullptr;
    bool m_triedOpen = false;
    bool m_hasXi2 = false;

    // What was last asked for, answered when the session cannot be read.
    int m_speed = 10;
    int m_lines = 3;
    int m_doubleClickMs = 500;
    bool m_acceleration = true;
};
