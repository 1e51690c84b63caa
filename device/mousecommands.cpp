// The mouse command family, plus the commands the mouse and the keyboard share (01H/81H
// report rate, 02H/82H current profile, 80H firmware version).
#include "commandrows.h"
#include "hid_thread.h"

#include <QString>

using namespace CommandRows;
using namespace RowCells;

namespace
{

// Mouse layout: byte 1 carries the first parameter; a set with a bulk payload carries the
// payload length in bytes in byte 2.
// clang-format off
const SetRow kMouseSets[] = {
    // 01 <rate> 00 00 00 00 00 <cs>
    {{0x01, 0, 0, 0, 0, 0, 0}, {1},          0,              0, W,  NP},
    // 02 <profile> 00 00 00 00 00 <cs>
    {{0x02, 0, 0, 0, 0, 0, 0}, {1},          0,              0, WO, P8},
    // 03 <type> <rate> <option1> <option2> 00 00 <cs>
    {{0x03, 0, 0, 0, 0, 0, 0}, {1, 2, 3, 4}, 0,              0, W,  P8},
    // 07 <type> <option1> <option2> <option3> 00 00 <cs>
    {{0x07, 0, 0, 0, 0, 0, 0}, {1, 2, 3, 4}, 0,              0, WO, NP},
    // 0B <dpiStage> 00 00 00 00 00 <cs>
    {{0x0B, 0, 0, 0, 0, 0, 0}, {1},          0,              0, W,  NP},
    // 0D <effect> <option1> <option2> 00 00 00 <cs>
    {{0x0D, 0, 0, 0, 0, 0, 0}, {1, 2, 3},    0,              0, W,  NP},
    // 10 <type> <n> 00 00 00 00 <cs>  + n colour bytes (n = 4 for type 2, else 24)
    {{0x10, 0, 0, 0, 0, 0, 0}, {1},          kPayloadByType, 2, W,  NP},
    // 11 <dpiStage> 08 00 00 00 00 <cs>  + 8 resolution codes
    {{0x11, 0, 0, 0, 0, 0, 0}, {1},          8,              2, W,  NP},
    // 12 01 40 08 00 00 00 <cs>  + 64 bytes key matrix
    {{0x12, 1, 0, 8, 0, 0, 0}, {},           64,             2, W,  NP},
    // 13 <macroId> 80 00 00 00 00 <cs>  + 128 bytes macro
    {{0x13, 0, 0, 0, 0, 0, 0}, {1},          128,            2, W,  NP},
};

const GetRow kMouseGets[] = {
    // 80 00 00 00 00 00 00 <cs>      answer: 80 <major> <minor> ..
    {{0x80, 0, 0, 0, 0, 0, 0}, {},  0,              {1, 2},       Keep, Ok},
    // 81 00 00 00 00 00 00 <cs>      answer: 81 <rate> ..
    {{0x81, 0, 0, 0, 0, 0, 0}, {},  0,              {1},          Echo, Always},
    // 82 00 00 00 00 00 00 <cs>      answer: 82 <profile> ..
    {{0x82, 0, 0, 0, 0, 0, 0}, {},  0,              {1},          Echo, Always},
    // 83 00 00 00 00 00 00 <cs>      answer: 83 <type> <rate> <option1> <option2> ..
    {{0x83, 0, 0, 0, 0, 0, 0}, {},  0,              {1, 3, 4},    Zero, Always},
    // 87 <type> 00 00 00 00 00 <cs>  answer: 87 <type> <option1> <option2> <option3> ..
    {{0x87, 0, 0, 0, 0, 0, 0}, {1}, 0,              {2, 3, 4},    Keep, Ok},
    // 8B 00 00 00 00 00 00 <cs>      answer: 8B <dpiStage> ..
    {{0x8B, 0, 0, 0, 0, 0, 0}, {},  0,              {1},          Zero, Always},
    // 8D 00 00 00 00 00 00 <cs>      answer: 8D <effect> <option1> <option2> ..
    {{0x8D, 0, 0, 0, 0, 0, 0}, {},  0,              {1, 2, 3},    Zero, Always},
    // 90 <type> 00 00 00 00 00 <cs>  + n colour bytes in (n = 4 for type 2, else 24)
    {{0x90, 0, 0, 0, 0, 0, 0}, {1}, kPayloadByType, {},           Keep, Always},
    // 91 00 00 00 00 00 00 <cs>      answer: 91 <dpiMAXStage> .. + 8 resolution codes in
    {{0x91, 0, 0, 0, 0, 0, 0}, {},  8,              {1},          Keep, Ok},
    // 92 01 00 00 00 00 00 <cs>      + 64 bytes key matrix in
    {{0x92, 1, 0, 0, 0, 0, 0}, {},  64,             {},           Keep, Always},
    // 93 <macroId> 00 00 00 00 00 <cs>  + 128 bytes macro in
    {{0x93, 0, 0, 0, 0, 0, 0}, {1}, 128,            {},           Keep, Always},
};
// clang-format on

const SetRow& set(uchar code)
{
    return rowFor(kMouseSets, code);
}
const GetRow& get(uchar code)
{
    return rowFor(kMouseGets, code);
}

} // namespace

void Hid_Thread::hid_01H_SetReportRate(uchar rate)
{
    runSet(*this, set(0x01), {rate});
}

void Hid_Thread::hid_02H_SetCurrentProfile(uchar profile)
{
    runSet(*this, set(0x02), {profile});
}

void Hid_Thread::hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2)
{
    runSet(*this, set(0x03), {type, rate, option1, option2});
}

void Hid_Thread::hid_07H_SetLEDInstructFunction(uchar type, uchar option1, uchar option2,
                                                uchar option3)
{
    runSet(*this, set(0x07), {type, option1, option2, option3});
}

void Hid_Thread::hid_0BH_SetCurrentDPIStage(uchar dpiStage)
{
    runSet(*this, set(0x0B), {dpiStage});
}

void Hid_Thread::hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    runSet(*this, set(0x0D), {effect, option1, option2});
}

void Hid_Thread::hid_10H_SetLED8StageColor(uchar type, uchar* src24)
{
    runSet(*this, set(0x10), {type}, src24);
}

void Hid_Thread::hid_11H_SetDPISet(uchar dpiStage, uchar* src8)
{
    runSet(*this, set(0x11), {dpiStage}, src8);
}

void Hid_Thread::hid_12H_SetKeyMatrix(uchar* src64)
{
    runSet(*this, set(0x12), {}, src64);
}

void Hid_Thread::hid_13H_SetMacroKey(uchar macroId, uchar* src128)
{
    runSet(*this, set(0x13), {macroId}, src128);
}

void Hid_Thread::hid_80H_GetFWVersion(QString& version)
{
    uchar major = 0;
    uchar minor = 0;
    switch (runGet(*this, get(0x80), {}, {&major, &minor})) {
    case GetOutcome::NotClaimed:
        break;
    case GetOutcome::Failed:
        version = QStringLiteral("unknown");
        break;
    case GetOutcome::Done:
        // Major in lowercase hex without padding, minor in two upper-case hex digits: 1.0A, 1b.05.
        version = QString::number(major, 16) + QLatin1Char('.') +
                  QStringLiteral("%1").arg(uint(minor), 2, 16, QLatin1Char('0')).toUpper();
        break;
    }
}

void Hid_Thread::hid_81H_GetReportRate(uchar& rate)
{
    runGet(*this, get(0x81), {}, {&rate});
}

void Hid_Thread::hid_82H_GetCurrentProfile(uchar& profile)
{
    runGet(*this, get(0x82), {}, {&profile});
}

void Hid_Thread::hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2)
{
    runGet(*this, get(0x83), {}, {&type, &option1, &option2});
}

bool Hid_Thread::hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2,
                                                uchar& option3)
{
    return runGet(*this, get(0x87), {type}, {&option1, &option2, &option3}) == GetOutcome::Done;
}

void Hid_Thread::hid_8BH_GetCurrentDPIStage(uchar& dpiStage)
{
    runGet(*this, get(0x8B), {}, {&dpiStage});
}

void Hid_Thread::hid_8DH_GetRGBLedEffect(uchar& effect, uchar& option1, uchar& option2)
{
    runGet(*this, get(0x8D), {}, {&effect, &option1, &option2});
}

void Hid_Thread::hid_90H_GetLED8StageColor(uchar type, uchar* src24)
{
    runGet(*this, get(0x90), {type}, {}, src24);
}

bool Hid_Thread::hid_91H_GetDPISet(uchar& dpiMAXStage, uchar* src8)
{
    return runGet(*this, get(0x91), {}, {&dpiMAXStage}, src8) == GetOutcome::Done;
}

void Hid_Thread::hid_92H_GetKeyMatrix(uchar* src64)
{
    runGet(*this, get(0x92), {}, {}, src64);
}

void Hid_Thread::hid_93H_GetMacroKey(uchar macroId, uchar* src128)
{
    runGet(*this, get(0x93), {macroId}, {}, src128);
}
