#include "devicetable.h"

#include "settingsfile.h"

#include <QSettings>
#include <QStringList>

bool isEncode = false;
unsigned char SecrecyCode[8] = {};

namespace
{

// Hexadecimal table values keep their low 16 bits; text that is no number reads as 0.
quint16 hex16(const QSettings& table, const QString& key)
{
    bool ok = false;
    const qlonglong v =
        table.value(key, QStringLiteral("0")).toString().trimmed().toLongLong(&ok, 16);
    return ok ? quint16(v & 0xFFFF) : 0;
}

// The table's own bool rule: true unless empty, "0" or "false" in any letter case.
bool tableBool(const QVariant& value)
{
    const QString text = value.toString().trimmed();
    return !(text.isEmpty() || text == QLatin1String("0") ||
             text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
}

} // namespace

QList<DeviceDescriptor> readDeviceTable(const QString& tablePath, const QString& apConfigPath)
{
    const QSettings table(tablePath, QSettings::IniFormat);
    const QSettings config(SettingsFile::usablePath(apConfigPath), QSettings::IniFormat);
    const QStringList names = config.value(QStringLiteral("common/product_name")).toStringList();

    QList<DeviceDescriptor> list;
    for (int n = 0; n < table.value(QStringLiteral("common/total"), 0).toInt(); ++n) {
        const QString s = QString::number(n) + QLatin1Char('/');
        DeviceDescriptor d;
        bool ok = false;
        const int type = table.value(s + QStringLiteral("type"), QStringLiteral("-1"))
                             .toString()
                             .trimmed()
                             .toInt(&ok, 16);
        d.type = ok ? type : 0;
        d.vid = hex16(table, s + QStringLiteral("vid"));
        d.pid = hex16(table, s + QStringLiteral("pid"));
        d.usagePage = hex16(table, s + QStringLiteral("usagePage"));
        d.usage = hex16(table, s + QStringLiteral("usage"));
        d.usagePage2 = hex16(table, s + QStringLiteral("usagePage2"));
        d.usage2 = hex16(table, s + QStringLiteral("usage2"));
        d.name = names.value(n);
        d.reportLength =
            table.value(s + QStringLiteral("reportLength"), 0).toString().trimmed().toUInt();
        list.append(d);
    }
    isEncode = tableBool(table.value(QStringLiteral("common/isEncode"), false));
    return list;
}

void loadSecrecyCode(uint n, const QString& apConfigPath)
{
    const QSettings config(SettingsFile::usablePath(apConfigPath), QSettings::IniFormat);
    const QVariant value =
        config.value(QStringLiteral("common/sCode") + QString::number(n), QStringLiteral("284613"));
    // A value holding a comma reads back as a list; it is no six-character code.
    if (value.type() != QVariant::String)
        return;
    const QString code = value.toString();
    if (code.size() != 6)
        return;
    for (int i = 0; i < 6; ++i) {
        const ushort c = code.at(i).unicode();
        SecrecyCode[i + 1] = c <= 0xFF ? static_cast<unsigned char>(c) : 0;
    }
}
