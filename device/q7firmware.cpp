// Placeholder bodies: replaced by the real implementation.
#include "q7firmware.h"

#include <cstring>

void Q7Firmware::onCommand(const unsigned char[8]) {}
void Q7Firmware::answer(unsigned char block[8]) { std::memset(block, 0, 8); }
void Q7Firmware::onBulkOut(const unsigned char*, int) {}
bool Q7Firmware::nextBulkIn(unsigned char*, int) { return false; }
