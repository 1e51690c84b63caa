#pragma once

// The system-wide pointer settings of the desktop session. Each call returns whether the
// system took (or gave) the value; a setting the platform cannot apply is kept by the
// implementation and reported as not applied.
//
// Units are those the settings pages are built around: speed 1..20 (10 leaves the pointer
// unscaled), wheel lines per notch, double-click time in milliseconds.
class PointerSystem
{
public:
    virtual ~PointerSystem() = default;

    virtual bool setCursorSpeed(int speed) = 0;
    virtual bool cursorSpeed(int* speed) = 0;

    virtual bool setWheelScrollLines(int lines) = 0;
    virtual bool wheelScrollLines(int* lines) = 0;

    virtual bool setDoubleClickTime(int ms) = 0;
    virtual bool doubleClickTime(int* ms) = 0;

    // Acceleration: the pointer moves farther per count when the mouse moves fast. Setting
    // it keeps every other parameter of the system's pointer control as it was.
    virtual bool setAcceleration(bool on) = 0;
    virtual bool acceleration(bool* on) = 0;
};
