#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>

// The key names that macro lines carry and the one-byte codes the device stores for them:
// USB keyboard usages, plus 0xF0 ... 0xF4 for the five mouse buttons. The UI documents use the
// very same names when they record a macro, so a name is matched exactly (blanks included).
namespace KeyNames
{

using Entry = QPair<QString, uchar>;

// Every entry in table order (132 of them).
const QVector<Entry>& entries();

// The name-to-code map built from entries(). Built once, on first use, and read-only after.
const QHash<QString, uchar>& table();

// The code of a name; 0 when the name is not in the table.
uchar code(const QString& name);

} // namespace KeyNames
