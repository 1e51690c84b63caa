#pragma once

#include "hiddevicecommands.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Hid_Thread;
class PointerSystem;
class ProfileStore;

// The pointer settings of the sensor and button pages: three 11-step sliders applied to the
// desktop session (pointer speed, wheel lines, double-click time), the system acceleration,
// the wheel-direction switch the mouse applies itself, and the confirmation asked before
// the last left-button assignment is taken away.
//
// The sliders keep their steps in the current profile slot and the getters answer from
// there, so a page shows the profile's steps whatever the session holds.
class PointerSettings : public QObject
{
    Q_OBJECT
public:
    // Message i of the loaded language.
    using MessageSource = std::function<QString(int)>;

    // Highest step of the three sliders.
    static constexpr uint kMaxStep = 10;

    // Takes ownership of system. profiles may be null (nothing is kept, getters give 0).
    PointerSettings(ProfileStore* profiles, PointerSystem* system, MessageSource messages,
                    QObject* parent = nullptr);
    ~PointerSettings() override;

    void setHid(Hid_Thread* hid);
    // Replaces the transport by another command sink (not owned); nullptr restores it.
    void setCommands(DeviceCommands* commands);
    PointerSystem* system() const { return m_system.get(); }

    // Slider step (clamped to 0..10) to the session's value.
    static int speedForStep(uint step);         // 1, 2, 4, 6 .. 20
    static int linesForStep(uint step);         // 1 .. 11 lines per notch
    static int doubleClickMsForStep(uint step); // 900 .. 200 ms

    bool getMsgAns_FoolProofing();
    void setScrollPinSwap(bool isSwap);
    bool getScrollPinSwap();
    void setAcceleration(bool acceleration);
    bool getAcceleration();
    void setCursorSpeed(uint cursorSpeed);
    uint getCursorSpeed();
    void setVerticalScrollLines(uint lines);
    uint getVerticalScrollLines();
    void setDoubleClickSpeed(uint speed);
    uint getDoubleClickSpeed();

private:
    uint storedStep(const QString& key) const;
    // Keeps the slider step, then hands the session its value; a refusal is logged.
    void applyStep(const QString& key, uint step, bool (PointerSystem::*apply)(int), int value,
                   const char* failure);

    ProfileStore* m_profiles = nullptr;
    std::unique_ptr<PointerSystem> m_system;
    MessageSource m_messages;
    HidDeviceCommands m_hidCommands;
    DeviceCommands* m_commands = &m_hidCommands;
};
