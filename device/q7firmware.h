#pragma once

#include "firmwaremodel.h"

// The Q7 mouse's firmware as the virtual mouse runs it: keeps every setting and answers
// every get from that state.
class Q7Firmware : public FirmwareModel
{
public:
    void onCommand(const unsigned char block[8]) override;
    void answer(unsigned char block[8]) override;
    void onBulkOut(const unsigned char* data, int length) override;
    bool nextBulkIn(unsigned char* data, int length) override;
};
