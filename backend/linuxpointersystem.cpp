#include "linuxpointersystem.h"

#include <QtGlobal>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cstring>
#include <vector>

namespace
{

const char kAccelSpeed[] = "libinput Accel Speed";
const char kAccelProfile[] = "libinput Accel Profile Enabled";

// Core pointer acceleration when switched on from off: the server's own default.
constexpr int kCoreAccelNumerator = 2;
constexpr int kCoreAccelDenominator = 1;

// Xlib's default error handler ends the process; a device that vanishes between the query
// and the change must only make the change fail.
bool g_xError = false;
int recordError(Display*, XErrorEvent*)
{
    g_xError = true;
    return 0;
}

class ErrorTrap
{
public:
    explicit ErrorTrap(Display* dpy) : m_dpy(dpy)
    {
        XSync(m_dpy, False);
        g_xError = false;
        m_old = XSetErrorHandler(recordError);
    }
    // Waits for the server's answer to everything sent and tells whether any of it failed.
    bool failed()
    {
        XSync(m_dpy, False);
        return g_xError;
    }
    ~ErrorTrap()
    {
        XSync(m_dpy, False);
        XSetErrorHandler(m_old);
    }

private:
    Display* m_dpy;
    int (*m_old)(Display*, XErrorEvent*) = nullptr;
};

// Reads a device property; empty when the device lacks it or its format differs.
std::vector<unsigned char> readProperty(Display* dpy, int device, Atom property, Atom wantType,
                                        int wantFormat, unsigned long* items)
{
    Atom type = None;
    int format = 0;
    unsigned long nitems = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned char> out;
    *items = 0;
    if (XIGetProperty(dpy, device, property, 0, 16, False, wantType, &type, &format, &nitems,
                      &after, &data) == Success &&
        data && type == wantType && format == wantFormat && nitems > 0) {
        out.assign(data, data + nitems * size_t(format / 8));
        *items = nitems;
    }
    if (data)
        XFree(data);
    return out;
}

} // namespace

LinuxPointerSystem::LinuxPointerSystem(const QByteArray& displayName) : m_displayName(displayName)
{
}

LinuxPointerSystem::~LinuxPointerSystem()
{
    if (m_display)
        XCloseDisplay(m_display);
}

double LinuxPointerSystem::libinputSpeedFor(int speed)
{
    speed = qBound(1, speed, 20);
    return speed <= 10 ? (speed - 10) / 9.0 : (speed - 10) / 10.0;
}

int LinuxPointerSystem::speedForLibinput(double accelSpeed)
{
    accelSpeed = qBound(-1.0, accelSpeed, 1.0);
    return accelSpeed <= 0 ? qRound(10 + accelSpeed * 9) : qRound(10 + accelSpeed * 10);
}

QByteArray LinuxPointerSystem::accelProfileFor(const QByteArray& current, bool on)
{
    QByteArray profile(current.size(), '\0');
    if (profile.size() >= 2) {
        profile[0] = on ? 1 : 0;
        profile[1] = on ? 0 : 1;
    }
    return profile;
}

bool LinuxPointerSystem::hasDisplay()
{
    return display() != nullptr;
}

_XDisplay* LinuxPointerSystem::display()
{
    if (m_triedOpen)
        return m_display;
    m_triedOpen = true;
    if (m_displayName.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    m_display = XOpenDisplay(m_displayName.isEmpty() ? nullptr : m_displayName.constData());
    if (!m_display)
        return nullptr;
    int opcode = 0, event = 0, error = 0;
    if (XQueryExtension(m_display, "XInputExtension", &opcode, &event, &error)) {
        int major = 2, minor = 0;
        m_hasXi2 = XIQueryVersion(m_display, &major, &minor) == Success;
    }
    return m_display;
}

QList<int> LinuxPointerSystem::devicesWith(const char* property)
{
    QList<int> ids;
    Display* dpy = display();
    if (!dpy || !m_hasXi2)
        return ids;
    // Only an existing atom can name a property some device has.
    const Atom prop = XInternAtom(dpy, property, True);
    if (prop == None)
        return ids;
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(dpy, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        if (info[i].use != XISlavePointer)
            continue;
        int nprops = 0;
        Atom* props = XIListProperties(dpy, info[i].deviceid, &nprops);
        for (int p = 0; p < nprops; ++p) {
            if (props[p] == prop) {
                ids.append(info[i].deviceid);
                break;
            }
        }
        if (props)
            XFree(props);
    }
    if (info)
        XIFreeDeviceInfo(info);
    return ids;
}

bool LinuxPointerSystem::setCursorSpeed(int speed)
{
    m_speed = qBound(1, speed, 20);
    const QList<int> devices = devicesWith(kAccelSpeed);
    if (devices.isEmpty())
        return false;
    Display* dpy = display();
    const Atom prop = XInternAtom(dpy, kAccelSpeed, False);
    const Atom floatType = XInternAtom(dpy, "FLOAT", False);
    // Format-32 device properties travel as 32-bit items; a float goes as its bit pattern.
    const float value = float(libinputSpeedFor(m_speed));
    quint32 item = 0;
    std::memcpy(&item, &value, sizeof item);
    int applied = 0;
    for (int id : devices) {
        ErrorTrap trap(dpy);
        XIChangeProperty(dpy, id, prop, floatType, 32, PropModeReplace,
                         reinterpret_cast<unsigned char*>(&item), 1);
        if (!trap.failed())
            ++applied;
    }
    return applied > 0;
}

bool LinuxPointerSystem::cursorSpeed(int* speed)
{
    *speed = m_speed;
    const QList<int> devices = devicesWith(kAccelSpeed);
    if (devices.isEmpty())
        return false;
    Display* dpy = display();
    unsigned long items = 0;
    ErrorTrap trap(dpy);
    const auto data = readProperty(dpy, devices.first(), XInternAtom(dpy, kAccelSpeed, False),
                                   XInternAtom(dpy, "FLOAT", False), 32, &items);
    if (trap.failed() || items < 1)
        return false;
    float value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    *speed = speedForLibinput(value);
    return true;
}

bool LinuxPointerSystem::setWheelScrollLines(int lines)
{
    m_lines = lines;
    return false;
}

bool LinuxPointerSystem::wheelScrollLines(int* lines)
{
    *lines = m_lines;
    return false;
}

bool LinuxPointerSystem::setDoubleClickTime(int ms)
{
    m_doubleClickMs = ms;
    return false;
}

bool LinuxPointerSystem::doubleClickTime(int* ms)
{
    *ms = m_doubleClickMs;
    return false;
}

bool LinuxPointerSystem::setAcceleration(bool on)
{
    m_acceleration = on;
    Display* dpy = display();
    if (!dpy)
        return false;

    const QList<int> devices = devicesWith(kAccelProfile);
    if (!devices.isEmpty()) {
        const Atom prop = XInternAtom(dpy, kAccelProfile, False);
        int applied = 0;
        for (int id : devices) {
            ErrorTrap trap(dpy);
            unsigned long items = 0;
            const auto read = readProperty(dpy, id, prop, XA_INTEGER, 8, &items);
            if (trap.failed() || items < 2)
                continue;
            QByteArray profile = accelProfileFor(
                QByteArray(reinterpret_cast<const char*>(read.data()), int(items)), on);
            XIChangeProperty(dpy, id, prop, XA_INTEGER, 8, PropModeReplace,
                             reinterpret_cast<unsigned char*>(profile.data()), profile.size());
            if (!trap.failed())
                ++applied;
        }
        return applied > 0;
    }

    int numerator = 0, denominator = 0, threshold = 0;
    ErrorTrap trap(dpy);
    XGetPointerControl(dpy, &numerator, &denominator, &threshold);
    if (trap.failed())
        return false;
    const bool isOn = denominator > 0 && numerator > denominator;
    if (on && !isOn) {
        numerator = kCoreAccelNumerator;
        denominator = kCoreAccelDenominator;
    } else if (!on) {
        numerator = denominator = 1;
    }
    XChangePointerControl(dpy, True, False, numerator, denominator, threshold);
    return !trap.failed();
}

bool LinuxPointerSystem::acceleration(bool* on)
{
    *on = m_acceleration;
    Display* dpy = display();
    if (!dpy)
        return false;

    const QList<int> devices = devicesWith(kAccelProfile);
    if (!devices.isEmpty()) {
        ErrorTrap trap(dpy);
        unsigned long items = 0;
        const auto profile = readProperty(
            dpy, devices.first(), XInternAtom(dpy, kAccelProfile, False), XA_INTEGER, 8, &items);
        if (trap.failed() || items < 2)
            return false;
        *on = profile[0] != 0;
        return true;
    }

    int numerator = 0, denominator = 0, threshold = 0;
    ErrorTrap trap(dpy);
    XGetPointerControl(dpy, &numerator, &denominator, &threshold);
    if (trap.failed())
        return false;
    *on = denominator > 0 && numerator > denominator;
    return true;
}
