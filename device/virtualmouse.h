#pragma once

#include "hidbackend.h"

#include <QByteArray>
#include <QSharedPointer>

class FirmwareModel;

// The Q7 mouse emulated at transport level, for tests and for running without the hardware.
// It offers the mouse's two interfaces, undoes and applies the block scrambling the device
// table asks for, frames bulk data, posts the settle report on the event interface, and
// hands the plain traffic to a FirmwareModel. Faults can be switched on one at a time.
// Safe to use from several threads; the firmware is only ever called under one lock.
class VirtualMouse : public HidBackend
{
public:
    static constexpr quint16 kVendorId = 0x04d9;
    static constexpr quint16 kProductId = 0xa09f;
    static constexpr int kReportLength = 32;
    static const QByteArray kCommandPath; // usage page FF00, usage FF00
    static const QByteArray kEventPath;   // usage page FF01, usage FF01

    // Runs its own Q7Firmware.
    VirtualMouse();
    ~VirtualMouse() override;

    // Replaces the firmware (not owned; must outlive its use). nullptr goes back to the
    // mouse's own firmware.
    void setFirmware(FirmwareModel* firmware);
    FirmwareModel* firmware() const;

    // The six-character scrambling code; empty (the default) follows the process-wide
    // SecrecyCode. Scrambling itself follows the process-wide isEncode.
    void setCode(const QByteArray& code);

    // --- faults --------------------------------------------------------------------------
    // Absent: the enumeration is empty and every open fails; open devices fail every call.
    void setPresent(bool present);
    bool isPresent() const;
    // After n more transfers (feature reports, writes, reads) the mouse is unplugged
    // (absent as above). A negative n switches it off.
    void setUnplugAfter(int transfers);
    // Input reads on both interfaces return nothing and time out (after their full bound).
    void setStallReads(bool stall);
    // Feature sends and output reports fail.
    void setWriteErrors(bool fail);
    // Every transfer takes this long before it happens.
    void setLatencyMs(int ms);
    // How long after a command the settle report becomes readable.
    void setSettleDelayMs(int ms);

    // Transfers so far (feature reports, writes, reads) and opens that succeeded.
    int transferCount() const;
    int openCount() const;

    // --- HidBackend ----------------------------------------------------------------------
    QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    HidDevice* open(const QByteArray& path) override;

private:
    struct State;
    class Device;
    QSharedPointer<State> m_state;
};
