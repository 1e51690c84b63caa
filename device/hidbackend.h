#pragma once

#include <QByteArray>
#include <QList>
#include <cstddef>

// One HID interface as the enumeration reports it.
struct HidInterfaceInfo {
    QByteArray path;       // opaque, passed back to HidBackend::open()
    quint16 vendorId = 0;
    quint16 productId = 0;
    quint16 usagePage = 0;
    quint16 usage = 0;
    int interfaceNumber = -1;
};

// One open HID interface. Deleting it closes the interface.
// Every call returns -1 on error; the object stays valid and may be deleted afterwards.
class HidDevice
{
public:
    virtual ~HidDevice() = default;

    // Blocking mode on (reads wait) or off. 0 on success, -1 on error.
    virtual int setBlocking(bool blocking) = 0;

    // data[0] is the report id; length counts it. Returns the bytes sent or -1.
    virtual int sendFeatureReport(const unsigned char* data, size_t length) = 0;

    // data[0] holds the report id to ask for; on success data[0..n-1] hold the report with
    // its id first. Returns the bytes received (id included) or -1.
    virtual int getFeatureReport(unsigned char* data, size_t length) = 0;

    // Output report: data[0] is the report id. Returns the bytes written or -1.
    virtual int write(const unsigned char* data, size_t length) = 0;

    // Input report into data (no report id for unnumbered reports). Waits at most
    // timeoutMs milliseconds; -1 waits without limit. Returns the bytes read, 0 when the
    // time ran out, -1 on error.
    virtual int readTimeout(unsigned char* data, size_t length, int timeoutMs) = 0;
};

// Access to the HID devices of the machine. The transport talks to devices only through
// this seam; the real library, the virtual mouse and the recording backend of the tests
// implement it. Implementations must be safe to call from several threads at once.
class HidBackend
{
public:
    virtual ~HidBackend() = default;

    // Every interface with this vendor and product id, in enumeration order.
    virtual QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) = 0;

    // Opens an interface by its path. The caller owns the result; nullptr on failure.
    virtual HidDevice* open(const QByteArray& path) = 0;

    // True when the last failed open() failed for lack of permission (EACCES/EPERM).
    virtual bool lastOpenDenied() const { return false; }
};
