#include "languagechecksum.h"

#include <QSettings>

namespace LanguageChecksum
{

QString fromSum(quint32 r)
{
    // Unsigned 32-bit arithmetic: R - 69 and R * 70 wrap exactly as the stored values
    // expect, with no signed overflow.
    const quint32 parts[4] = {(r + 74u) & 0xFFu, (r - 69u) & 0xFFu, (r * 70u) & 0xFFu,
                              (r / 70u) & 0xFFu};
    QString text;
    for (quint32 p : parts)
        text += QString::number(p);
    return text;
}

quint32 readStrings(const QSettings& file, QStringList* strings)
{
    bool ok = false;
    int total = file.value(QStringLiteral("font/total")).toInt(&ok);
    if (!ok || total < 1)
        return 0;
    total = qMin(total, kMaxStrings);
    quint32 sum = 0;
    for (int k = 1; k <= total; ++k) {
        const QString text = file.value(QStringLiteral("strings/%1").arg(k)).toString();
        sum += quint32(text.length());
        if (strings)
            strings->append(text);
    }
    return sum;
}

QString ofFile(const QSettings& file)
{
    return fromSum(readStrings(file, nullptr));
}

} // namespace LanguageChecksum
