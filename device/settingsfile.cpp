#include "settingsfile.h"

#include <QFileInfo>

namespace SettingsFile
{

QString usablePath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile() || info.isDir())
        return path;
    // Not a folder, so nothing can be below it: the open fails at once (ENOTDIR).
    return path + QStringLiteral("/unreadable");
}

} // namespace SettingsFile
