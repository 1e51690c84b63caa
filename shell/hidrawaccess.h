#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Finds the hidraw nodes of one USB device from sysfs and tells which of them the current
// user may not open, so that start-up can say "attached but not permitted" instead of "not
// found". The folders are parameters so tests can lay out a fake sysfs.
class HidrawAccess
{
public:
    using AccessCheck = std::function<bool(const QString& node)>;

    explicit HidrawAccess(const QString& sysClassDir = QStringLiteral("/sys/class/hidraw"),
                          const QString& devDir = QStringLiteral("/dev"));

    // The device nodes ("/dev/hidrawN") whose HID_ID names vid:pid, sorted.
    QStringList nodesFor(quint16 vid, quint16 pid) const;
    // Those of nodesFor() that cannot be opened for reading and writing.
    QStringList deniedNodes(quint16 vid, quint16 pid) const;

    // Replaces the access test (default: access(2) with R_OK | W_OK).
    void setAccessCheck(AccessCheck check) { m_canOpen = std::move(check); }

    // Parses the HID_ID line of a uevent file ("HID_ID=0003:000004D9:0000A09F").
    static bool parseHidId(const QByteArray& uevent, quint16* vid, quint16* pid);

private:
    QString m_sysDir;
    QString m_devDir;
    AccessCheck m_canOpen;
};
