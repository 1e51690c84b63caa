#pragma once

// A PointerSystem for tests: keeps the exact values it was given and refuses on request.

#include "pointersystem.h"

class RecordingPointerSystem : public PointerSystem
{
public:
    bool refuse = false;
    int speed = -1, lines = -1, doubleClickMs = -1;
    bool accel = false;
    int setCalls = 0;

    bool setCursorSpeed(int v) override { return record(&speed, v); }
    bool cursorSpeed(int* v) override { return answer(v, speed); }
    bool setWheelScrollLines(int v) override { return record(&lines, v); }
    bool wheelScrollLines(int* v) override { return answer(v, lines); }
    bool setDoubleClickTime(int v) override { return record(&doubleClickMs, v); }
    bool doubleClickTime(int* v) override { return answer(v, doubleClickMs); }
    bool setAcceleration(bool on) override
    {
        ++setCalls;
        if (refuse)
            return false;
        accel = on;
        return true;
    }
    bool acceleration(bool* on) override
    {
        if (refuse)
            return false;
        *on = accel;
        return true;
    }

private:
    bool record(int* field, int v)
    {
        ++setCalls;
        *field = v; // a refused value is still what the caller asked for
        return !refuse;
    }
    bool answer(int* out, int v) const
    {
        if (refuse)
            return false;
        *out = v;
        return true;
    }
};
