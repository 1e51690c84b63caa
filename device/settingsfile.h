#pragma once

#include <QString>

// Where the program's INI files may be opened from.
namespace SettingsFile
{

// The path to hand to QSettings for the file at `path`: the path itself when it names a
// plain file, a folder or nothing yet. Anything else there (a pipe, a socket, a device, a
// link to one of those) would make QSettings block on the open or read without end, so it
// gets a path below that entry instead, which cannot exist: reads then give the defaults
// and writes fail, as for a file that cannot be read, and the entry itself is untouched.
QString usablePath(const QString& path);

} // namespace SettingsFile
