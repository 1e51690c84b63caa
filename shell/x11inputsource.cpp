#include "x11inputsource.h"

#include "inputcapture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

namespace
{

// X keycodes are evdev codes shifted by 8.
constexpr uint kKeycodeOffset = 8;
constexpr uint kEvdevLeftAlt = 56;
constexpr uint kEvdevRightAlt = 100;

struct EvdevRow {
    ushort evdev;
    uchar scan;
    bool extended;
};

// Keys whose evdev code is not their set-1 scan code, or that need the extended flag the way
// the translation expects it. Evdev codes 1...88 are otherwise the set-1 codes themselves.
constexpr EvdevRow kEvdevRows[] = {
    {54, 0x36, true},   // right Shift: extended, so it is told from left Shift
    {69, 0x45, true},   // Num Lock
    {84, 0x00, false},  // unassigned
    {85, 0x00, false},  // Zenkaku/Hankaku: no usage
    {96, 0x1C, true},   // keypad Enter
    {97, 0x1D, true},   // right Control
    {98, 0x35, true},   // keypad slash
    {99, 0x37, true},   // SysRq / Print Screen
    {100, 0x38, true},  // right Alt
    {102, 0x47, true},  // Home
    {103, 0x48, true},  // Up
    {104, 0x49, true},  // Page Up
    {105, 0x4B, true},  // Left
    {106, 0x4D, true},  // Right
    {107, 0x4F, true},  // End
    {108, 0x50, true},  // Down
    {109, 0x51, true},  // Page Down
    {110, 0x52, true},  // Insert
    {111, 0x53, true},  // Delete
    {119, 0x45, false}, // Pause: its set-1 code without the extended flag
    {125, 0x5B, true},  // left GUI
    {126, 0x5C, true},  // right GUI
    {127, 0x5D, true},  // Application (compose)
    {193, 0x6E, false}, // F23
    {210, 0x37, true},  // Print
};

} // namespace

X11InputSource::X11InputSource(InputCapture* target, QObject* parent)
    : QObject(parent), m_target(target)
{
}

X11InputSource::~X11InputSource()
{
    close();
}

bool X11InputSource::scanCodeOf(uint xKeycode, uint* scanCode, bool* extended)
{
    if (xKeycode < kKeycodeOffset)
        return false;
    const uint evdev = xKeycode - kKeycodeOffset;
    uint scan = 0;
    bool ext = false;
    bool found = false;
    for (const EvdevRow& row : kEvdevRows) {
        if (row.evdev == evdev) {
            scan = row.scan;
            ext = row.extended;
            found = true;
            break;
        }
    }
    if (!found && evdev >= 1 && evdev <= 88) {
        scan = evdev;
        found = true;
    }
    if (!found || scan == 0)
        return false;
    *scanCode = scan;
    *extended = ext;
    return true;
}

uint X11InputSource::messageOf(uint xButton, bool isDown)
{
    switch (xButton) {
    case 1:
        return isDown ? InputCapture::LeftDown : InputCapture::LeftUp;
    case 2:
        return isDown ? InputCapture::MiddleDown : InputCapture::MiddleUp;
    case 3:
        return isDown ? InputCapture::RightDown : InputCapture::RightUp;
    case 4:
    case 5:
    case 6:
    case 7:
        return InputCapture::Wheel;
    case 8:
    case 9:
        return isDown ? InputCapture::SideDown : InputCapture::SideUp;
    default:
        return 0;
    }
}

WindowInputSource::WindowInputSource(InputCapture* target, QObject* parent)
    : QObject(parent), m_target(target)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

WindowInputSource::~WindowInputSource()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool WindowInputSource::eventFilter(QObject* watched, QEvent* event)
{
    // Each input event reaches one platform window before Qt hands it on to widgets and
    // embedded scenes; looking only there sees it once.
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window || !window->handle())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A held key repeats as release and press pairs marked as repeats; the key is still
        // down, so they are no change.
        if (key->isAutoRepeat())
            break;
        uint scan = 0;
        bool ext = false;
        if (X11InputSource::scanCodeOf(key->nativeScanCode(), &scan, &ext))
            m_target->keyEvent(event->type() == QEvent::KeyPress, scan, ext,
                               key->modifiers().testFlag(Qt::AltModifier));
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool down = event->type() == QEvent::MouseButtonPress;
        uint message = 0;
        if (mouse->button() == Qt::LeftButton)
            message = X11InputSource::messageOf(1, down);
        else if (mouse->button() == Qt::MiddleButton)
            message = X11InputSource::messageOf(2, down);
        else if (mouse->button() == Qt::RightButton)
            message = X11InputSource::messageOf(3, down);
        if (message)
            m_target->mouseMessage(message, mouse->globalPos().x(), mouse->globalPos().y());
        break;
    }
    default:
        break;
    }
    return false; // never swallow input
}

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt's names: include it last.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

bool X11InputSource::open()
{
    close();
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;

    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    // Since XInput 2.1 raw events reach every client that selects them, not only a grabbing
    // one: ask for 2.2 and accept 2.1.
    if (!XQueryExtension(display, "XInputExtension", &m_xiOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        XCloseDisplay(display);
        return false;
    }

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    if (XISelectEvents(display, DefaultRootWindow(display), &mask, 1) != Success) {
        XCloseDisplay(display);
        return false;
    }
    XSync(display, False);

    m_display = display;
    m_notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11InputSource::readEvents);
    // Events may already sit in Xlib's queue after the round trip above.
    readEvents();
    return true;
}

void X11InputSource::close()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_display) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
    m_leftAlt = m_rightAlt = false;
}

void X11InputSource::readEvents()
{
    if (!m_display)
        return;
    // Bounded: handle what is pending now; more arrivals wake the notifier again.
    int budget = 4096;
    while (budget-- > 0 && XPending(m_display) > 0) {
        XEvent ev;
        XNextEvent(m_display, &ev);
        XGenericEventCookie* cookie = &ev.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode ||
            !XGetEventData(m_display, cookie))
            continue;
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        const uint detail = uint(raw->detail);
        switch (cookie->evtype) {
        case XI_RawKeyPress:
        case XI_RawKeyRelease: {
            const bool down = cookie->evtype == XI_RawKeyPress;
            if (detail == kEvdevLeftAlt + kKeycodeOffset)
                m_leftAlt = down;
            else if (detail == kEvdevRightAlt + kKeycodeOffset)
                m_rightAlt = down;
            uint scan = 0;
            bool ext = false;
            if (scanCodeOf(detail, &scan, &ext))
                m_target->keyEvent(down, scan, ext, m_leftAlt || m_rightAlt);
            break;
        }
        case XI_RawButtonPress:
        case XI_RawButtonRelease: {
            const uint message = messageOf(detail, cookie->evtype == XI_RawButtonPress);
            if (message == 0 || InputCapture::buttonFor(message, nullptr) == 0)
                break;
            // Raw events carry no position; the pointer's is the nearest.
            Window root = 0;
            Window child = 0;
            int x = 0, y = 0, wx = 0, wy = 0;
            unsigned int buttons = 0;
            XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &x, &y, &wx, &wy,
                          &buttons);
            m_target->mouseMessage(message, x, y);
            break;
        }
        default:
            break;
        }
        XFreeEventData(m_display, cookie);
    }
    // Events Xlib has already read from the socket will not wake the notifier again.
    if (budget < 0 && XPending(m_display) > 0)
        QTimer::singleShot(0, this, &X11InputSource::readEvents);
}
