#pragma once

// What the virtual mouse's firmware does with plain (unscrambled) traffic. The virtual
// mouse (virtualmouse.h) handles interfaces, scrambling, framing and faults, and hands the
// command semantics to a FirmwareModel.
class FirmwareModel
{
public:
    virtual ~FirmwareModel() = default;

    // A plain 8-byte command block arrived as a feature report.
    virtual void onCommand(const unsigned char block[8]) = 0;

    // The plain 8-byte answer block for a feature read that follows the last command.
    virtual void answer(unsigned char block[8]) = 0;

    // One output report's payload (reportLength bytes, report id stripped).
    virtual void onBulkOut(const unsigned char* data, int length) = 0;

    // Fills the next input report's payload (length = reportLength). Returns false when the
    // firmware has nothing to send (the read then times out).
    virtual bool nextBulkIn(unsigned char* data, int length) = 0;
};
