#pragma once

#include <QObject>
#include <QScopedPointer>
#include <array>

class myQQuickView;
class X11InputSource;
class WindowInputSource;

// Sees the keys and main mouse buttons the user presses, also while another program has the
// focus, and passes each change on: a key as its USB keyboard usage, a button as 0xF0 (left),
// 0xF1 (right) or 0xF2 (middle). Capture only watches; every event still reaches its window.
//
// The translation is platform-neutral: sources report keys as PC scan codes (set 1) with the
// extended-key and Alt flags, and buttons as the classic mouse message numbers below. On
// Linux the source is the X display (XInput2 raw events on the root window); without one it
// falls back to the program's own window.
class InputCapture : public QObject
{
    Q_OBJECT
public:
    // Receivers: a key change (usage, isDown) and a button event (code, isDown, screen x, y).
    // The context is handed back unchanged.
    using KeyboardCallback = void (*)(uchar usage, bool isDown, void* context);
    using MouseCallback = void (*)(uint code, bool isDown, int x, int y, void* context);

    // Mouse messages the sources report.
    enum MouseMessage : uint {
        LeftDown = 0x0201,
        LeftUp = 0x0202,
        LeftDoubleClick = 0x0203,
        RightDown = 0x0204,
        RightUp = 0x0205,
        RightDoubleClick = 0x0206,
        MiddleDown = 0x0207,
        MiddleUp = 0x0208,
        MiddleDoubleClick = 0x0209,
        Wheel = 0x020A,
        SideDown = 0x020B,
        SideUp = 0x020C,
    };

    explicit InputCapture(QObject* parent = nullptr);
    ~InputCapture() override;

    // The process-wide capture that start-up installs.
    static InputCapture& instance();

    // Fills the translation and starts the source. True when capture is system-wide; false
    // when it fell back to the program's own window. A running capture is restarted.
    bool start(bool useNonUsHash);
    // Stops the source; the receivers stay registered.
    void stop();
    bool isRunning() const { return m_running; }
    bool isGlobal() const;

    void setKeyboardCallback(KeyboardCallback callback, void* context);
    void setMouseCallback(MouseCallback callback, void* context);
    void* keyboardContext() const { return m_keyboardContext; }
    void* mouseContext() const { return m_mouseContext; }

    // Fills the translation without starting a source (start() does this too).
    void fillTables(bool useNonUsHash);
    // The usage of a scan code with its flags; 0 for none.
    uchar usageFor(uint scanCode, bool extended, bool alt) const;
    // The button code of a mouse message; 0 for none. isDown tells press from release.
    static uchar buttonFor(uint message, bool* isDown);

    // Feeds one key event: passes it on when it changes the key's state.
    void keyEvent(bool isDown, uint scanCode, bool extended, bool alt);
    // Feeds one mouse message with its screen position.
    void mouseMessage(uint message, int x, int y);

private:
    // Indexed by scan code * 2 + extended flag; 0 for none.
    std::array<uchar, 512> m_scanToUsage{};
    // The last state passed on for each usage.
    std::array<bool, 256> m_keyDown{};
    bool m_useNonUsHash = false;
    bool m_running = false;

    KeyboardCallback m_keyboardCallback = nullptr;
    void* m_keyboardContext = nullptr;
    MouseCallback m_mouseCallback = nullptr;
    void* m_mouseContext = nullptr;

    QScopedPointer<X11InputSource> m_x11;
    QScopedPointer<WindowInputSource> m_window;
};

// Registers receivers on the process-wide capture that deliver to the view's root document
// (detectKeyboard, detectMouse). They are dropped again when the view is destroyed.
void connectInputCaptureToView(myQQuickView* view);
