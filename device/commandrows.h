#pragma once

#include <QtGlobal>
#include <cstddef>
#include <initializer_list>

class Hid_Thread;

// The two command families (mouse and keyboard) are written as tables of rows; each slot of
// Hid_Thread picks its row and runs one of the two generic sequences below. A row fixes the
// command block, where the caller's parameters go, the bulk payload and its handling.

// Bulk length of the colour-table commands: 4 bytes for table type 2, 24 for every other type.
constexpr int kPayloadByType = -1;

enum class Settle : bool { Without = false, With = true };
enum class Pause : bool { None = false, After8ms = true };

// What the answer block holds before a get's exchange, so that a failed exchange hands back
// something defined.
enum class Preset {
    // Left as the last exchange left it: such rows copy their results only on success.
    Untouched,
    // All eight bytes 0: a failed exchange hands back 0.
    Zero,
    // Byte 0 the command, the block's parameters at their bytes, the caller's current values
    // at their answer bytes, the rest 0: a failed exchange hands back the caller's values.
    Echo
};

// When a get copies its results (answer bytes and bulk payload) back to the caller.
enum class CopyBack : bool { OnSuccess = false, Always = true };

struct SetRow {
    uchar block[7];   // bytes 0..6, with 0 where a parameter goes; byte 0 is the command
    uchar paramAt[6]; // block byte of each caller parameter, in call order; 0 ends the list
    int payload;      // bulk bytes sent after the block (0: none; kPayloadByType)
    uchar lengthAt;   // block byte that carries the bulk length in bytes (0: none)
    Settle settle;
    Pause pause;
};

struct GetRow {
    uchar block[7];    // bytes 0..6, with 0 where a parameter goes; byte 0 is the command
    uchar paramAt[6];  // block byte of each caller parameter, in call order; 0 ends the list
    int payload;       // bulk bytes read after the answer block (0: none; kPayloadByType)
    uchar resultAt[6]; // answer byte of each out-parameter, in call order; 0 ends the list
    Preset preset;
    CopyBack copy;
};

// Short names for the cells of the two families' tables, so every row reads on one line.
namespace RowCells
{
constexpr Settle W = Settle::With;
constexpr Settle WO = Settle::Without;
constexpr Pause P8 = Pause::After8ms;
constexpr Pause NP = Pause::None;
constexpr Preset Keep = Preset::Untouched;
constexpr Preset Zero = Preset::Zero;
constexpr Preset Echo = Preset::Echo;
constexpr CopyBack Ok = CopyBack::OnSuccess;
constexpr CopyBack Always = CopyBack::Always;
} // namespace RowCells

enum class GetOutcome {
    NotClaimed, // no exchange ran (transport busy, or no buffer): nothing sent or touched
    Failed,     // the exchange failed: results as the row's CopyBack leaves them
    Done        // the exchange succeeded and the results were copied
};

namespace CommandRows
{

// The row of a family's table for a command byte. Every slot asks for a byte its own table
// holds, so a miss is a programming error.
template <typename Row, size_t N> const Row& rowFor(const Row (&table)[N], uchar code)
{
    for (const Row& row : table) {
        if (row.block[0] == code)
            return row;
    }
    Q_UNREACHABLE();
    return table[0];
}

// Bitwise NOT of the 8-bit sum of bytes 0..6.
uchar checksum(const uchar block[8]);

// Bulk length of a row for the given first parameter (the table type of the colour commands).
int payloadLength(int payload, uchar firstParam);

// The set sequence: claim, fill the command block, copy the payload (the caller may reuse its
// buffer as soon as this returns), start the exchange on the pool, optional 8 ms pause.
// On a failed claim writes "cmd Failed NN" and sends nothing.
void runSet(Hid_Thread& hid, const SetRow& row, std::initializer_list<uchar> params,
            const uchar* payload = nullptr);

// The get sequence: claim, fill the block, preset the answer block, copy the caller's buffer
// into the payload area, run the exchange on this thread, copy the results out.
// On a failed claim writes "cmd Failed" and touches nothing.
GetOutcome runGet(Hid_Thread& hid, const GetRow& row, std::initializer_list<uchar> params,
                  std::initializer_list<uchar*> results, uchar* buffer = nullptr);

} // namespace CommandRows
