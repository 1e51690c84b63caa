#include "startupreport.h"

namespace StartupReport
{

QString udevRule(quint16 vid, quint16 pid)
{
    return QStringLiteral("KERNEL==\"hidraw*\", ATTRS{idVendor}==\"%1\", "
                          "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
        .arg(vid, 4, 16, QLatin1Char('0'))
        .arg(pid, 4, 16, QLatin1Char('0'));
}

QString noDeviceText()
{
    return QStringLiteral("No Q7 mouse was found.\n\n"
                          "Connect the mouse and start q7config again, or try the program "
                          "on the virtual mouse:\n\n"
                          "    q7config --demo");
}

QString permissionText(const QStringList& deniedNodes)
{
    QString where = deniedNodes.isEmpty()
                        ? QString()
                        : QStringLiteral(" (%1)").arg(deniedNodes.join(QStringLiteral(", ")));
    return QStringLiteral(
               "A Q7 mouse is attached, but this user is not permitted to open it%1.\n\n"
               "Install the udev rule packaging/70-q7config.rules of the source folder into "
               "/etc/udev/rules.d/ and reload the rules:\n\n"
               "    sudo cp packaging/70-q7config.rules /etc/udev/rules.d/\n"
               "    sudo udevadm control --reload-rules && sudo udevadm trigger\n\n"
               "The rule is this one line, if you prefer to write it yourself:\n\n"
               "    %2\n\n"
               "Then unplug the mouse, plug it in again and start q7config.")
        .arg(where, udevRule());
}

} // namespace StartupReport
