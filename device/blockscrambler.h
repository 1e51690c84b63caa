#pragma once

// The reversible scrambling of 8-byte command and answer blocks that devices marked for it
// in the device table expect on the wire. Shared by the transport and the virtual mouse so
// both ends of the link apply one definition.
namespace BlockScrambler
{

// The key table every device of the table uses.
extern const unsigned char kKeyTable[8];

// code[1..6] hold the six code characters; code[0] and code[7] take no part.
void scramble(unsigned char block[8], const unsigned char code[8],
              const unsigned char key[8] = kKeyTable);
void unscramble(unsigned char block[8], const unsigned char code[8],
                const unsigned char key[8] = kKeyTable);

} // namespace BlockScrambler
