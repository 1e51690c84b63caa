#include "hidapibackend.h"

#include <QMutexLocker>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <hidapi.h>
#include <unistd.h>

namespace
{

class HidapiDevice : public HidDevice
{
public:
    explicit HidapiDevice(hid_device* device) : m_device(device) {}
    ~HidapiDevice() override
    {
        QMutexLocker l(&m_mutex);
        hid_close(m_device);
    }

    int setBlocking(bool blocking) override
    {
        QMutexLocker l(&m_mutex);
        return hid_set_nonblocking(m_device, blocking ? 0 : 1);
    }
    int sendFeatureReport(const unsigned char* data, size_t length) override
    {
        QMutexLocker l(&m_mutex);
        return hid_send_feature_report(m_device, data, length);
    }
    int getFeatureReport(unsigned char* data, size_t length) override
    {
        QMutexLocker l(&m_mutex);
        return hid_get_feature_report(m_device, data, length);
    }
    int write(const unsigned char* data, size_t length) override
    {
        QMutexLocker l(&m_mutex);
        return hid_write(m_device, data, length);
    }
    int readTimeout(unsigned char* data, size_t length, int timeoutMs) override
    {
        QMutexLocker l(&m_mutex);
        return hid_read_timeout(m_device, data, length, timeoutMs);
    }

private:
    QMutex m_mutex;
    hid_device* m_device;
};

// hidapi does not say why an open failed, and its own error reporting may have changed errno
// by the time it returns; asking the system directly is reliable.
bool permissionDenied(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == EACCES || errno == EPERM;
}

} // namespace

bool HidapiBackend::ensureInitialised()
{
    if (!m_initialised)
        m_initialised = hid_init() == 0;
    return m_initialised;
}

QList<HidInterfaceInfo> HidapiBackend::enumerate(quint16 vendorId, quint16 productId)
{
    QMutexLocker l(&m_mutex);
    QList<HidInterfaceInfo> list;
    if (!ensureInitialised())
        return list;
    hid_device_info* all = hid_enumerate(vendorId, productId);
    for (const hid_device_info* d = all; d; d = d->next) {
        HidInterfaceInfo info;
        info.path = QByteArray(d->path ? d->path : "");
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.usagePage = d->usage_page;
        info.usage = d->usage;
        info.interfaceNumber = d->interface_number;
        list.append(info);
    }
    hid_free_enumeration(all);
    return list;
}

HidDevice* HidapiBackend::open(const QByteArray& path)
{
    QMutexLocker l(&m_mutex);
    m_denied.store(false);
    if (path.isEmpty() || !ensureInitialised())
        return nullptr;
    hid_device* device = hid_open_path(path.constData());
    if (!device) {
        m_denied.store(permissionDenied(path));
        return nullptr;
    }
    return new HidapiDevice(device);
}
