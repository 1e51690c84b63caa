#include "pointersettings.h"

#include "dialogs.h"
#include "pointersystem.h"
#include "profilestore.h"

#include <QDebug>

namespace
{

const QString kSpeedKey = QStringLiteral("sensor/cursorSpeed_Q7");
const QString kLinesKey = QStringLiteral("sensor/verticalScrollLines_Q7");
const QString kDoubleClickKey = QStringLiteral("sensor/doubleClickSpeed_Q7");
const QString kScrollSwapKey = QStringLiteral("keydefine_Q7/scrollswap");

// Bit of the function option's first byte that swaps the wheel direction.
constexpr uchar kWheelSwapBit = 0x40;

// Indexes of the confirmation box's title and text among the language's messages.
constexpr int kFoolProofingTitle = 4;
constexpr int kFoolProofingText = 5;

uint clampStep(uint step)
{
    return qMin(step, PointerSettings::kMaxStep);
}

} // namespace

PointerSettings::PointerSettings(ProfileStore* profiles, PointerSystem* system,
                                 MessageSource messages, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_system(system), m_messages(std::move(messages))
{
}

PointerSettings::~PointerSettings() = default;

void PointerSettings::setHid(Hid_Thread* hid)
{
    m_hidCommands.setHid(hid);
}

void PointerSettings::setCommands(DeviceCommands* commands)
{
    m_commands = commands ? commands : &m_hidCommands;
}

int PointerSettings::speedForStep(uint step)
{
    step = clampStep(step);
    return step == 0 ? 1 : int(2 * step);
}

int PointerSettings::linesForStep(uint step)
{
    return int(clampStep(step)) + 1;
}

int PointerSettings::doubleClickMsForStep(uint step)
{
    // Unclamped, a step above 12 would give a negative time.
    return 900 - 70 * int(clampStep(step));
}

uint PointerSettings::storedStep(const QString& key) const
{
    return m_profiles ? m_profiles->value(key, 0u).toUInt() : 0u;
}

bool PointerSettings::getMsgAns_FoolProofing()
{
    const QString title = m_messages ? m_messages(kFoolProofingTitle) : QString();
    const QString text = m_messages ? m_messages(kFoolProofingText) : QString();
    return Dialogs::instance().confirm(nullptr, title, text);
}

void PointerSettings::setScrollPinSwap(bool isSwap)
{
    if (m_profiles)
        m_profiles->setValue(kScrollSwapKey, isSwap);

    uchar type = 0, option1 = 0, option2 = 0;
    m_commands->hid_83H_GetFunctionOption(type, option1, option2);
    // The rate read keeps the preset 0 when it fails, and 0 is no rate code; with no answer
    // (no mouse, transport busy) the function-option read has given zeros too. Writing
    // those back would reset the mouse's sensor type and rate, so nothing is sent then.
    uchar rate = 0;
    m_commands->hid_81H_GetReportRate(rate);
    if (rate == 0) {
        qDebug() << "setScrollPinSwap Failed";
        return;
    }
    option1 = uchar((option1 & ~kWheelSwapBit) | (isSwap ? kWheelSwapBit : 0));
    m_commands->hid_03H_SetFunctionOption(type, rate, option1, option2);
}

bool PointerSettings::getScrollPinSwap()
{
    return m_profiles ? m_profiles->value(kScrollSwapKey, false).toBool() : false;
}

void PointerSettings::setAcceleration(bool acceleration)
{
    if (!m_system || !m_system->setAcceleration(acceleration))
        qDebug() << "setAcceleration Failed";
}

bool PointerSettings::getAcceleration()
{
    bool on = false;
    if (!m_system || !m_system->acceleration(&on)) {
        qDebug() << "getAcceleration Failed";
        return false;
    }
    return on;
}

void PointerSettings::applyStep(const QString& key, uint step, bool (PointerSystem::*apply)(int),
                                int value, const char* failure)
{
    // The step is kept even when the session refuses the value, so the page still shows it.
    if (m_profiles)
        m_profiles->setValue(key, clampStep(step));
    if (!m_system || !(m_system.get()->*apply)(value))
        qDebug() << failure;
}

void PointerSettings::setCursorSpeed(uint cursorSpeed)
{
    applyStep(kSpeedKey, cursorSpeed, &PointerSystem::setCursorSpeed, speedForStep(cursorSpeed),
              "setCursorSpeed Failed");
}

uint PointerSettings::getCursorSpeed()
{
    return storedStep(kSpeedKey);
}

void PointerSettings::setVerticalScrollLines(uint lines)
{
    applyStep(kLinesKey, lines, &PointerSystem::setWheelScrollLines, linesForStep(lines),
              "setVerticalScrollLines Failed");
}

uint PointerSettings::getVerticalScrollLines()
{
    return storedStep(kLinesKey);
}

void PointerSettings::setDoubleClickSpeed(uint speed)
{
    applyStep(kDoubleClickKey, speed, &PointerSystem::setDoubleClickTime,
              doubleClickMsForStep(speed), "setDoubleClickSpeed Failed");
}

uint PointerSettings::getDoubleClickSpeed()
{
    return storedStep(kDoubleClickKey);
}
