// This file is UTF-8: four of the names below are arrow characters.
#include "keynames.h"

namespace KeyNames
{

namespace
{

QVector<Entry> buildEntries()
{
    QVector<Entry> e;
    e.reserve(132);
    auto add = [&e](const char* utf8Name, int code) {
        e.append(Entry(QString::fromUtf8(utf8Name), uchar(code)));
    };

    for (int i = 0; i < 26; ++i) {
        const char name[2] = {char('A' + i), 0};
        add(name, 0x04 + i);
    }
    for (int i = 1; i <= 9; ++i) {
        const char name[2] = {char('0' + i), 0};
        add(name, 0x1E + i - 1);
    }
    add("0", 0x27);

    add("Enter", 0x28);
    add("Esc", 0x29);
    add("Back", 0x2A);
    add("Tab", 0x2B);
    add("Space", 0x2C);
    add("- _", 0x2D);
    add("= +", 0x2E);
    add("[ {", 0x2F);
    add("] }", 0x30);
    add("\\ |", 0x31);
    // 0x32 (non-US hash) has no name.
    add("; :", 0x33);
    add("' \"", 0x34);
    add("` ~", 0x35);
    add(", <", 0x36);
    add(". >", 0x37);
    add("/ ?", 0x38);
    add("Caps", 0x39);
    for (int i = 1; i <= 12; ++i)
        add(QByteArray("F").append(QByteArray::number(i)).constData(), 0x3A + i - 1);

    add("Prt", 0x46);
    add("Scr", 0x47);
    add("Pau", 0x48);
    add("Ins", 0x49);
    add("Hom", 0x4A);
    add("PgU", 0x4B);
    add("Del", 0x4C);
    add("End", 0x4D);
    add("PgD", 0x4E);
    add("►", 0x4F); // right
    add("◄", 0x50); // left
    add("▼", 0x51); // down
    add("▲", 0x52); // up

    add("Num", 0x53);
    add("KP /", 0x54);
    add("KP *", 0x55);
    add("KP -", 0x56);
    add("KP +", 0x57);
    add("KP Enter", 0x58);
    add("KP 1", 0x59);
    add("KP 2", 0x5A);
    add("KP 3", 0x5B);
    add("KP 4", 0x5C);
    add("KP 5", 0x5D);
    add("KP 6", 0x5E);
    add("KP 7 ", 0x5F); // the trailing blank is part of the name the UI records
    add("KP 8", 0x60);
    add("KP 9", 0x61);
    add("KP 0", 0x62);
    add("KP .", 0x63);

    add("Eur 2", 0x64);
    add("App", 0x65);
    add("Power", 0x66);
    add("KP =", 0x67);
    for (int i = 13; i <= 24; ++i)
        add(QByteArray("F").append(QByteArray::number(i)).constData(), 0x68 + i - 13);

    add("Keypad", 0x85);
    add("Int'l 1", 0x87);
    add("Intl'2", 0x88); // spelled so by the UI; there is no "Int'l 3"
    add("Int'l 2", 0x89);
    add("Int'l 4", 0x8A);
    add("Int'l 5", 0x8B);
    add("Lang 1", 0x90);
    add("Lang 2", 0x91);

    add("L Ctrl", 0xE0);
    add("L Shift", 0xE1);
    add("L Alt", 0xE2);
    add("L Win", 0xE3);
    add("R Ctrl", 0xE4);
    add("R Shift", 0xE5);
    add("R Alt", 0xE6);
    add("R Win", 0xE7);

    add("MS-L", 0xF0);
    add("MS-R", 0xF1);
    add("MS-M", 0xF2);
    add("MS-B4", 0xF3);
    add("MS-B5", 0xF4);
    return e;
}

QHash<QString, uchar> buildTable()
{
    QHash<QString, uchar> t;
    for (const Entry& e : entries())
        t.insert(e.first, e.second);
    return t;
}

} // namespace

const QVector<Entry>& entries()
{
    static const QVector<Entry> e = buildEntries();
    return e;
}

const QHash<QString, uchar>& table()
{
    static const QHash<QString, uchar> t = buildTable();
    return t;
}

uchar code(const QString& name)
{
    return table().value(name, 0);
}

} // namespace KeyNames
