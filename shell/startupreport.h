#pragma once

#include <QString>
#include <QStringList>

// What start-up tells the user when the mouse cannot be used, with the fix where one exists.
namespace StartupReport
{

// The mouse's USB ids, used when the device table has no mouse row.
constexpr quint16 kMouseVid = 0x04d9;
constexpr quint16 kMousePid = 0xa09f;

// The rule that gives the logged-in user access to the mouse's hidraw nodes.
QString udevRule(quint16 vid = kMouseVid, quint16 pid = kMousePid);

// No mouse accepted and none attached.
QString noDeviceText();
// The mouse is attached but its nodes cannot be opened by this user.
QString permissionText(const QStringList& deniedNodes);

} // namespace StartupReport
