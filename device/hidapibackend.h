#pragma once

#include "hidbackend.h"

#include <QMutex>
#include <atomic>

// HidBackend over the hidapi library (hidraw on Linux). The library is initialised on first
// use. Enumeration and opening are serialised; each open device serialises its own calls,
// so the backend and its devices may be used from several threads.
class HidapiBackend : public HidBackend
{
public:
    HidapiBackend() = default;
    ~HidapiBackend() override = default;

    QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    HidDevice* open(const QByteArray& path) override;
    bool lastOpenDenied() const override { return m_denied.load(); }

private:
    bool ensureInitialised();

    QMutex m_mutex;
    bool m_initialised = false;
    std::atomic<bool> m_denied{false};
};
