#pragma once

#include "firmwaremodel.h"

#include <QByteArray>
#include <QMutex>
#include <array>

// The Q7 mouse's firmware as the virtual mouse runs it: keeps every setting and answers
// every get from that state, so that each set read back with its get returns what was set.
//
// It is strict about framing the way a device is: a block with a wrong checksum, or a bulk
// set whose length bytes do not match the command, is ignored (and counted), which lets the
// tests notice a malformed block instead of reading back stale state.
//
// Safe to call from several threads: the virtual mouse may run a set exchange on a pool
// worker while a test reads the state.
class Q7Firmware : public FirmwareModel
{
public:
    Q7Firmware();

    void onCommand(const unsigned char block[8]) override;
    void answer(unsigned char block[8]) override;
    void onBulkOut(const unsigned char* data, int length) override;
    bool nextBulkIn(unsigned char* data, int length) override;

    static constexpr int kMacroSlots = 12;
    static constexpr int kMacroBytes = 128;
    static constexpr int kKeyMatrixBytes = 64;
    static constexpr int kStages = 8;

    // --- state, for tests and the demo ---
    uchar reportRate() const;
    uchar profile() const;
    uchar sensorType() const;
    uchar functionOption1() const;
    uchar functionOption2() const;
    // The three option bytes of one LED instruction function type.
    QByteArray ledInstruct(uchar type) const;
    uchar currentDpiStage() const;
    uchar dpiStageCount() const;
    QByteArray dpiCodes() const;
    uchar lightingEffect() const;
    uchar lightingBrightness() const;
    uchar lightingSpeed() const;
    // Type 0 palette and type 1 stage colours: 24 bytes; type 2 stage colour indexes: 4 bytes.
    // Other types are not kept (empty).
    QByteArray colourTable(uchar type) const;
    QByteArray keyMatrix() const;
    // Macro slot 1..12 (128 bytes); empty for other numbers.
    QByteArray macro(uchar macroId) const;
    uchar versionMajor() const;
    uchar versionMinor() const;
    void setVersion(uchar major, uchar minor);
    // Blocks ignored for a bad checksum or mismatched length bytes.
    int rejectedBlocks() const;
    // Bulk sets applied completely (all their bytes arrived).
    int appliedBulkSets() const;

private:
    void prepareAnswer(const unsigned char block[8]);
    void applyBulk();
    static int bulkSetLength(const unsigned char block[8]);

    mutable QMutex m_lock;

    uchar m_reportRate = 1;
    uchar m_profile = 0;
    uchar m_sensorType = 2;
    uchar m_option1 = 0;
    uchar m_option2 = 0;
    std::array<std::array<uchar, 3>, 256> m_ledInstruct{};
    uchar m_dpiStage = 1;
    uchar m_stageCount = kStages;
    std::array<uchar, kStages> m_dpiCodes{};
    uchar m_effect = 1;
    uchar m_brightness = 255;
    uchar m_speed = 2;
    std::array<uchar, 24> m_palette{};
    std::array<uchar, 24> m_stageColours{};
    std::array<uchar, 4> m_stageIndexes{};
    std::array<uchar, kKeyMatrixBytes> m_keyMatrix{};
    std::array<std::array<uchar, kMacroBytes>, kMacroSlots> m_macros{};
    uchar m_versionMajor = 0x01;
    uchar m_versionMinor = 0x0A;

    int m_rejected = 0;
    int m_applied = 0;

    // The bulk set in progress: its block and the bytes still expected.
    std::array<uchar, 8> m_pendingBlock{};
    int m_expected = 0;
    QByteArray m_inbound;

    // What the next feature read and input reports deliver.
    std::array<uchar, 8> m_answer{};
    QByteArray m_outbound;
    int m_outPos = 0;
};
