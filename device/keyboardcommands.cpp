// The keyboard command family. It shares command bytes with the mouse family (03H, 07H, 0DH,
// 11H, 12H, 13H, 83H, 8DH, 91H, 92H) with other meanings; the caller picks the slot that fits
// the current device. The shared commands (01H/81H, 02H/82H, 80H) live with the mouse family.
#include "commandrows.h"
#include "hid_thread.h"

using namespace CommandRows;
using namespace RowCells;

namespace
{

// Keyboard layout: an index parameter goes in byte 2 with byte 1 left 0; a set with a bulk
// payload carries its size in byte 3 (64-byte reports for 512 and 192 bytes, bytes for 21).
// clang-format off
const SetRow kKeyboardSets[] = {
    // 03 <byte1> <byte2> <byte3> <byte4> 00 00 <cs>
    {{0x03, 0, 0,    0,    0, 0, 0}, {1, 2, 3, 4},       0,   0, WO, P8},
    // 04 <sens1> <sens2> <sens3> <sens4> 00 00 <cs>
    {{0x04, 0, 0,    0,    0, 0, 0}, {1, 2, 3, 4},       0,   0, W,  NP},
    // 07 <effect> <frequenty> 00 00 00 00 <cs>
    {{0x07, 0, 0,    0,    0, 0, 0}, {1, 2},             0,   0, WO, P8},
    // 08 <option> <effect> <speed> <light> <color> <direction> <cs>
    {{0x08, 0, 0,    0,    0, 0, 0}, {1, 2, 3, 4, 5, 6}, 0,   0, W,  NP},
    // 09 <mode> 00 00 00 00 00 <cs>
    {{0x09, 0, 0,    0,    0, 0, 0}, {1},                0,   0, W,  NP},
    // 0D 00 00 08 00 00 00 <cs>  + 512 bytes key matrix (8 reports)
    {{0x0D, 0, 0,    0x08, 0, 0, 0}, {},                 512, 0, W,  NP},
    // 0E 00 00 15 00 00 00 <cs>  + 21 bytes key on/off table
    {{0x0E, 0, 0,    0x15, 0, 0, 0}, {},                 21,  0, W,  NP},
    // 11 00 <macroId> 03 00 00 00 <cs>  + 192 bytes macro (3 reports)
    {{0x11, 0, 0,    0x03, 0, 0, 0}, {2},                192, 0, W,  NP},
    // 12 00 <index> 08 <option> 00 00 <cs>  + 512 bytes picture (8 reports)
    {{0x12, 0, 0,    0x08, 0, 0, 0}, {2, 4},             512, 0, W,  NP},
    // 13 FF 00 00 00 00 00 <cs>
    {{0x13, 0xFF, 0, 0,    0, 0, 0}, {},                 0,   0, WO, P8},
    // 14 00 <index> <r> <g> <b> 00 <cs>
    {{0x14, 0, 0,    0,    0, 0, 0}, {2, 3, 4, 5},       0,   0, WO, P8},
};

// Every get of this family hands back the caller's own values when the exchange fails.
const GetRow kKeyboardGets[] = {
    // 83 00 00 00 00 00 00 <cs>     answer: 83 <byte1> <byte2> <byte3> <byte4> ..
    {{0x83, 0, 0, 0, 0, 0, 0}, {},  0,   {1, 2, 3, 4},    Echo, Always},
    // 84 00 00 00 00 00 00 <cs>     answer: 84 <sens1> <sens2> <sens3> <sens4> ..
    {{0x84, 0, 0, 0, 0, 0, 0}, {},  0,   {1, 2, 3, 4},    Echo, Always},
    // 88 00 00 00 00 00 00 <cs>     answer: 88 <option> <effect> <speed> <light> <color> <direction>
    {{0x88, 0, 0, 0, 0, 0, 0}, {},  0,   {2, 3, 4, 5, 6}, Echo, Always},
    // 89 00 00 00 00 00 00 <cs>     answer: 89 <mode> ..
    {{0x89, 0, 0, 0, 0, 0, 0}, {},  0,   {1},             Echo, Always},
    // 8D 00 00 00 00 00 00 <cs>     + 512 bytes key matrix in
    {{0x8D, 0, 0, 0, 0, 0, 0}, {},  512, {},              Keep, Always},
    // 8E 00 00 00 00 00 00 <cs>     + 21 bytes key on/off table in
    {{0x8E, 0, 0, 0, 0, 0, 0}, {},  21,  {},              Keep, Always},
    // 91 00 <macroId> 00 00 00 00 <cs>  + 192 bytes macro in
    {{0x91, 0, 0, 0, 0, 0, 0}, {2}, 192, {},              Keep, Always},
    // 92 00 <index> 00 00 00 00 <cs>    + 512 bytes picture in
    {{0x92, 0, 0, 0, 0, 0, 0}, {2}, 512, {},              Keep, Always},
    // 94 00 <index> 00 00 00 00 <cs>    answer: 94 00 <index> <r> <g> <b> ..
    {{0x94, 0, 0, 0, 0, 0, 0}, {2}, 0,   {3, 4, 5},       Echo, Always},
};
// clang-format on

const SetRow& set(uchar code)
{
    return rowFor(kKeyboardSets, code);
}
const GetRow& get(uchar code)
{
    return rowFor(kKeyboardGets, code);
}

} // namespace

void Hid_Thread::hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runSet(*this, set(0x03), {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4)
{
    runSet(*this, set(0x04), {sens1, sens2, sens3, sens4});
}

void Hid_Thread::hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty)
{
    runSet(*this, set(0x07), {effect, frequenty});
}

void Hid_Thread::hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light,
                                    uchar color, uchar direction)
{
    runSet(*this, set(0x08), {option, effect, speed, light, color, direction});
}

void Hid_Thread::hid_09H_SetKeyboardMode(uchar mode)
{
    runSet(*this, set(0x09), {mode});
}

void Hid_Thread::hid_0DH_SetKeyMatrix(uchar* src512)
{
    runSet(*this, set(0x0D), {}, src512);
}

void Hid_Thread::hid_0EH_SetKeyOnOff(uchar* src21)
{
    runSet(*this, set(0x0E), {}, src21);
}

void Hid_Thread::hid_11H_SetMacroKey(uchar macroId, uchar* src192)
{
    runSet(*this, set(0x11), {macroId}, src192);
}

void Hid_Thread::hid_12H_SetUserPicture(uchar index, uchar option, uchar* src512)
{
    runSet(*this, set(0x12), {index, option}, src512);
}

void Hid_Thread::hid_13H_SetRecoveryData()
{
    runSet(*this, set(0x13), {});
}

void Hid_Thread::hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue)
{
    runSet(*this, set(0x14), {index, rValue, gValue, bValue});
}

void Hid_Thread::hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    runGet(*this, get(0x83), {}, {&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3,
                                              uchar& sens4)
{
    runGet(*this, get(0x84), {}, {&sens1, &sens2, &sens3, &sens4});
}

void Hid_Thread::hid_88H_GetLEDType(uchar& effect, uchar& speed, uchar& light, uchar& color,
                                    uchar& direction)
{
    runGet(*this, get(0x88), {}, {&effect, &speed, &light, &color, &direction});
}

void Hid_Thread::hid_89H_GetKeyboardMode(uchar& mode)
{
    runGet(*this, get(0x89), {}, {&mode});
}

void Hid_Thread::hid_8DH_GetKeyMatrix(uchar* src512)
{
    runGet(*this, get(0x8D), {}, {}, src512);
}

void Hid_Thread::hid_8EH_GetKeyOnOff(uchar* src21)
{
    runGet(*this, get(0x8E), {}, {}, src21);
}

void Hid_Thread::hid_91H_GetMacroKey(uchar macroId, uchar* src192)
{
    runGet(*this, get(0x91), {macroId}, {}, src192);
}

void Hid_Thread::hid_92H_GetUserPicture(uchar index, uchar* src512)
{
    runGet(*this, get(0x92), {index}, {}, src512);
}

void Hid_Thread::hid_94H_GetColor(uchar index, uchar& rValue, uchar& gValue, uchar& bValue)
{
    runGet(*this, get(0x94), {index}, {&rValue, &gValue, &bValue});
}
