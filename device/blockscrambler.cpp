#include "blockscrambler.h"

#include <utility>

namespace BlockScrambler
{

const unsigned char kKeyTable[8] = {'T', 'q', 'W', 'm', 'P', 'z', 'K', 'b'};

namespace
{

unsigned char swapNibbles(unsigned char x)
{
    return static_cast<unsigned char>((x << 4) | (x >> 4));
}

void swapPairs(unsigned char b[8])
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

void xorCode(unsigned char b[8], const unsigned char code[8])
{
    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];
}

// The block is one 64-bit number with b[0] as its most significant byte.
unsigned long long load(const unsigned char b[8])
{
    unsigned long long v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | b[i];
    return v;
}

void store(unsigned long long v, unsigned char b[8])
{
    for (int i = 7; i >= 0; --i) {
        b[i] = static_cast<unsigned char>(v & 0xFF);
        v >>= 8;
    }
}

} // namespace

void scramble(unsigned char block[8], const unsigned char code[8], const unsigned char key[8])
{
    swapPairs(block);
    xorCode(block, code);
    const unsigned long long v = load(block);
    store((v << 3) | (v >> 61), block);
    for (int j = 0; j < 8; ++j)
        block[j] = static_cast<unsigned char>(block[j] + swapNibbles(key[j]));
}

void unscramble(unsigned char block[8], const unsigned char code[8], const unsigned char key[8])
{
    for (int j = 0; j < 8; ++j)
        block[j] = static_cast<unsigned char>(block[j] - swapNibbles(key[j]));
    const unsigned long long v = load(block);
    store((v >> 3) | (v << 61), block);
    xorCode(block, code);
    swapPairs(block);
}

} // namespace BlockScrambler
