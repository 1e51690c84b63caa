#include "hidrawaccess.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

HidrawAccess::HidrawAccess(const QString& sysClassDir, const QString& devDir)
    : m_sysDir(sysClassDir), m_devDir(devDir)
{
    m_canOpen = [](const QString& node) {
        return ::access(QFile::encodeName(node).constData(), R_OK | W_OK) == 0;
    };
}

bool HidrawAccess::parseHidId(const QByteArray& uevent, quint16* vid, quint16* pid)
{
    for (const QByteArray& rawLine : uevent.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith("HID_ID="))
            continue;
        const QList<QByteArray> parts = line.mid(7).split(':');
        if (parts.size() != 3)
            return false;
        bool okV = false, okP = false;
        const uint v = parts[1].toUInt(&okV, 16);
        const uint p = parts[2].toUInt(&okP, 16);
        if (!okV || !okP || v > 0xFFFF || p > 0xFFFF)
            return false;
        *vid = quint16(v);
        *pid = quint16(p);
        return true;
    }
    return false;
}

QStringList HidrawAccess::nodesFor(quint16 vid, quint16 pid) const
{
    QStringList nodes;
    const QStringList names = QDir(m_sysDir).entryList(
        {QStringLiteral("hidraw*")}, QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        QFile uevent(m_sysDir + QLatin1Char('/') + name + QStringLiteral("/device/uevent"));
        if (!uevent.open(QIODevice::ReadOnly))
            continue;
        quint16 v = 0, p = 0;
        // uevent files are a few hundred bytes; read no more than a page of one.
        if (parseHidId(uevent.read(4096), &v, &p) && v == vid && p == pid)
            nodes << m_devDir + QLatin1Char('/') + name;
    }
    return nodes;
}

QStringList HidrawAccess::deniedNodes(quint16 vid, quint16 pid) const
{
    QStringList denied;
    for (const QString& node : nodesFor(vid, pid))
        if (!m_canOpen(node))
            denied << node;
    return denied;
}
