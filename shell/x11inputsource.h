#pragma once

#include <QObject>

class InputCapture;
class QSocketNotifier;
struct _XDisplay;

// Feeds an InputCapture with the raw key and button events of the whole X display: its own
// connection selects XInput2 raw events on the root window for every master device, so it
// sees input whichever window has the focus, and never takes input away from anyone.
class X11InputSource : public QObject
{
    Q_OBJECT
public:
    explicit X11InputSource(InputCapture* target, QObject* parent = nullptr);
    ~X11InputSource() override;

    // Connects to the display named by DISPLAY and selects the events. False when there is
    // no display or it lacks XInput 2.1 (raw events for every client); nothing stays open then.
    bool open();
    void close();
    bool isOpen() const { return m_display != nullptr; }

    // The scan code (set 1) and extended flag of an X keycode (evdev code + 8), as the
    // capture's translation expects them. False for keys it does not know.
    static bool scanCodeOf(uint xKeycode, uint* scanCode, bool* extended);
    // The mouse message of an X button (1 left, 2 middle, 3 right, ...); 0 for none.
    static uint messageOf(uint xButton, bool isDown);

private:
    void readEvents();

    InputCapture* m_target;
    _XDisplay* m_display = nullptr;
    int m_xiOpcode = 0;
    QSocketNotifier* m_notifier = nullptr;
    bool m_leftAlt = false;
    bool m_rightAlt = false;
};

// The fallback where no X display can be used: the key and button events of this program's
// own windows, translated the same way.
class WindowInputSource : public QObject
{
    Q_OBJECT
public:
    explicit WindowInputSource(InputCapture* target, QObject* parent = nullptr);
    ~WindowInputSource() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InputCapture* m_target;
};
