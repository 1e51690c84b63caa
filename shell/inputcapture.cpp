#include "inputcapture.h"

#include "myqquickview.h"
#include "x11inputsource.h"

#include <QCoreApplication>
#include <cstdio>

namespace
{

constexpr bool E = true;  // needs the extended-key flag
constexpr bool N = false; // needs it clear

struct ScanRow {
    uchar scan;
    bool extended;
    uchar usage;
};

// Scan code (set 1) and extended flag -> USB keyboard usage. A code or flag state not listed
// gives nothing. Backslash (2B) is filled separately: its usage is an option.
constexpr ScanRow kScanRows[] = {
    // letters A...Z
    {0x1E, N, 0x04},
    {0x30, N, 0x05},
    {0x2E, N, 0x06},
    {0x20, N, 0x07},
    {0x12, N, 0x08},
    {0x21, N, 0x09},
    {0x22, N, 0x0A},
    {0x23, N, 0x0B},
    {0x17, N, 0x0C},
    {0x24, N, 0x0D},
    {0x25, N, 0x0E},
    {0x26, N, 0x0F},
    {0x32, N, 0x10},
    {0x31, N, 0x11},
    {0x18, N, 0x12},
    {0x19, N, 0x13},
    {0x10, N, 0x14},
    {0x13, N, 0x15},
    {0x1F, N, 0x16},
    {0x14, N, 0x17},
    {0x16, N, 0x18},
    {0x2F, N, 0x19},
    {0x11, N, 0x1A},
    {0x2D, N, 0x1B},
    {0x15, N, 0x1C},
    {0x2C, N, 0x1D},
    // digits 1...9, 0
    {0x02, N, 0x1E},
    {0x03, N, 0x1F},
    {0x04, N, 0x20},
    {0x05, N, 0x21},
    {0x06, N, 0x22},
    {0x07, N, 0x23},
    {0x08, N, 0x24},
    {0x09, N, 0x25},
    {0x0A, N, 0x26},
    {0x0B, N, 0x27},
    // Enter, Escape, Backspace, Tab, Space
    {0x1C, N, 0x28},
    {0x01, N, 0x29},
    {0x0E, N, 0x2A},
    {0x0F, N, 0x2B},
    {0x39, N, 0x2C},
    // - = [ ]   ; ' `   , . /
    {0x0C, N, 0x2D},
    {0x0D, N, 0x2E},
    {0x1A, N, 0x2F},
    {0x1B, N, 0x30},
    {0x27, N, 0x33},
    {0x28, N, 0x34},
    {0x29, N, 0x35},
    {0x33, N, 0x36},
    {0x34, N, 0x37},
    {0x35, N, 0x38},
    // Caps Lock, F1...F12
    {0x3A, N, 0x39},
    {0x3B, N, 0x3A},
    {0x3C, N, 0x3B},
    {0x3D, N, 0x3C},
    {0x3E, N, 0x3D},
    {0x3F, N, 0x3E},
    {0x40, N, 0x3F},
    {0x41, N, 0x40},
    {0x42, N, 0x41},
    {0x43, N, 0x42},
    {0x44, N, 0x43},
    {0x57, N, 0x44},
    {0x58, N, 0x45},
    // Print Screen, Scroll Lock, Pause (45; 46 E is handled as an override)
    {0x37, E, 0x46},
    {0x46, N, 0x47},
    {0x45, N, 0x48},
    // Insert, Home, Page Up, Delete, End, Page Down
    {0x52, E, 0x49},
    {0x47, E, 0x4A},
    {0x49, E, 0x4B},
    {0x53, E, 0x4C},
    {0x4F, E, 0x4D},
    {0x51, E, 0x4E},
    // Right, Left, Down, Up
    {0x4D, E, 0x4F},
    {0x4B, E, 0x50},
    {0x50, E, 0x51},
    {0x48, E, 0x52},
    // Num Lock, keypad / * - + Enter
    {0x45, E, 0x53},
    {0x35, E, 0x54},
    {0x37, N, 0x55},
    {0x4A, N, 0x56},
    {0x4E, N, 0x57},
    {0x1C, E, 0x58},
    // keypad 1...9, 0, period
    {0x4F, N, 0x59},
    {0x50, N, 0x5A},
    {0x51, N, 0x5B},
    {0x4B, N, 0x5C},
    {0x4C, N, 0x5D},
    {0x4D, N, 0x5E},
    {0x47, N, 0x5F},
    {0x48, N, 0x60},
    {0x49, N, 0x61},
    {0x52, N, 0x62},
    {0x53, N, 0x63},
    // non-US backslash, Application, F23
    {0x56, N, 0x64},
    {0x5D, E, 0x65},
    {0x6E, N, 0x72},
    // left Control, Shift, Alt, GUI; right Control, Shift, Alt
    {0x1D, N, 0xE0},
    {0x2A, N, 0xE1},
    {0x38, N, 0xE2},
    {0x5B, E, 0xE3},
    {0x1D, E, 0xE4},
    {0x36, E, 0xE5},
    {0x38, E, 0xE6},
};

constexpr uchar kBackslashScan = 0x2B;
constexpr uchar kPauseUsage = 0x48;
constexpr uchar kPrintScreenUsage = 0x46;

int slot(uint scan, bool extended)
{
    return int(scan) * 2 + (extended ? 1 : 0);
}

void deliverKey(uchar usage, bool isDown, void* context)
{
    if (context)
        static_cast<myQQuickView*>(context)->deliverKeyboardEvent(isDown, usage);
}

void deliverButton(uint code, bool isDown, int x, int y, void* context)
{
    // Screen positions cross as unsigned 32-bit numbers: a negative one arrives as its
    // two's complement.
    if (context)
        static_cast<myQQuickView*>(context)->deliverMouseEvent(isDown, code, uint(x), uint(y));
}

} // namespace

InputCapture::InputCapture(QObject* parent) : QObject(parent) {}

InputCapture::~InputCapture()
{
    stop();
}

InputCapture& InputCapture::instance()
{
    static InputCapture capture;
    return capture;
}

void InputCapture::fillTables(bool useNonUsHash)
{
    m_useNonUsHash = useNonUsHash;
    m_scanToUsage.fill(0);
    for (const ScanRow& row : kScanRows)
        m_scanToUsage[size_t(slot(row.scan, row.extended))] = row.usage;
    m_scanToUsage[size_t(slot(kBackslashScan, false))] = useNonUsHash ? 0x32 : 0x31;
}

uchar InputCapture::usageFor(uint scanCode, bool extended, bool alt) const
{
    // Codes above one byte are not scan codes of a key.
    if (scanCode > 0xFF)
        scanCode = 0;
    // Two keys report codes that mean another key: Pause arrives as 46 with the extended
    // flag (Scroll Lock's code), and Print Screen as 54 while Alt is down.
    if (scanCode == 0x46 && extended)
        return kPauseUsage;
    if (scanCode == 0x54 && alt)
        return kPrintScreenUsage;
    return m_scanToUsage[size_t(slot(scanCode, extended))];
}

uchar InputCapture::buttonFor(uint message, bool* isDown)
{
    bool down = false;
    uchar code = 0;
    switch (message) {
    case LeftDown:
        down = true;
        code = 0xF0;
        break;
    case LeftUp:
        code = 0xF0;
        break;
    case RightDown:
        down = true;
        code = 0xF1;
        break;
    case RightUp:
        code = 0xF1;
        break;
    case MiddleDown:
        down = true;
        code = 0xF2;
        break;
    case MiddleUp:
        code = 0xF2;
        break;
    default: // double clicks, wheel, side buttons, movement
        break;
    }
    if (isDown)
        *isDown = down;
    return code;
}

void InputCapture::keyEvent(bool isDown, uint scanCode, bool extended, bool alt)
{
    const uchar usage = usageFor(scanCode, extended, alt);
    if (usage == 0)
        return;
    // Only changes go on: auto-repeat and a release never seen pressed give nothing.
    if (m_keyDown[usage] == isDown)
        return;
    m_keyDown[usage] = isDown;
    if (m_keyboardCallback)
        m_keyboardCallback(usage, isDown, m_keyboardContext);
}

void InputCapture::mouseMessage(uint message, int x, int y)
{
    bool isDown = false;
    const uchar code = buttonFor(message, &isDown);
    if (code != 0 && m_mouseCallback)
        m_mouseCallback(code, isDown, x, y, m_mouseContext);
}

void InputCapture::setKeyboardCallback(KeyboardCallback callback, void* context)
{
    m_keyboardCallback = callback;
    m_keyboardContext = context;
}

void InputCapture::setMouseCallback(MouseCallback callback, void* context)
{
    m_mouseCallback = callback;
    m_mouseContext = context;
}

bool InputCapture::start(bool useNonUsHash)
{
    fillTables(useNonUsHash);
    if (m_running)
        stop();
    m_running = true;

    // The process-wide capture outlives the application object; its X connection and
    // socket notifier must go with the application.
    static bool stopRegistered = false;
    if (this == &instance() && !stopRegistered) {
        stopRegistered = true;
        qAddPostRoutine([] { InputCapture::instance().stop(); });
    }

    m_x11.reset(new X11InputSource(this));
    if (m_x11->open())
        return true;
    m_x11.reset();

    static bool told = false;
    if (!told) {
        told = true;
        fprintf(stderr, "Input capture: no usable X display; keys and mouse buttons are seen "
                        "only while this program's window is active.\n");
    }
    m_window.reset(new WindowInputSource(this));
    return false;
}

void InputCapture::stop()
{
    m_x11.reset();
    m_window.reset();
    m_running = false;
}

bool InputCapture::isGlobal() const
{
    return !m_x11.isNull();
}

void connectInputCaptureToView(myQQuickView* view)
{
    InputCapture& capture = InputCapture::instance();
    capture.setKeyboardCallback(deliverKey, view);
    capture.setMouseCallback(deliverButton, view);
    if (!view)
        return;
    QObject::connect(view, &QObject::destroyed, &capture, [view]() {
        InputCapture& c = InputCapture::instance();
        if (c.keyboardContext() == view)
            c.setKeyboardCallback(nullptr, nullptr);
        if (c.mouseContext() == view)
            c.setMouseCallback(nullptr, nullptr);
    });
}
