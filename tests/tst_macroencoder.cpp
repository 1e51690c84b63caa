// Macro lines to device bytes: the key-name table, the delay rules of both devices, the
// fitting into the 128- and 192-byte slots, and the send path from a stored macro.
#include "dialogs.h"
#include "keynames.h"
#include "macroencoder.h"
#include "macrolibrary.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QString down(const QString& key)
{
    return key + QStringLiteral("    [Down]");
}
QString up(const QString& key)
{
    return key + QStringLiteral("      [Up]");
}
QString delay(qint64 ms)
{
    return QString::number(ms) + QStringLiteral("   [Delay]");
}

QByteArray bytesOf(const QList<uchar>& list)
{
    QByteArray b;
    for (uchar c : list)
        b.append(char(c));
    return b;
}

struct SentMacro {
    int calls = 0;
    uchar slot = 0;
    QByteArray bytes;

    // A sender that records into this, taking size bytes from the buffer.
    MacroEncoder::Sender recorder(int size)
    {
        return [this, size](uchar s, uchar* b) {
            ++calls;
            slot = s;
            bytes = QByteArray(reinterpret_cast<const char*>(b), size);
        };
    }
};

} // namespace

class TestMacroEncoder : public QObject
{
    Q_OBJECT

private slots:
    void keyNames_data();
    void keyNames();
    void keyNameTableShape();

    void encode_data();
    void encode();
    void encodeRandomLinesKeepsShape();

    void fitToSlot_data();
    void fitToSlot();

    void sendStoredMacro_data();
    void sendStoredMacro();
    void sendRefusesUnsafeName();

private:
    ScriptedDialogs m_dialogs;
};

void TestMacroEncoder::keyNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");

    QTest::newRow("A") << "A" << 0x04;
    QTest::newRow("Z") << "Z" << 0x1D;
    QTest::newRow("1") << "1" << 0x1E;
    QTest::newRow("0 after 9") << "0" << 0x27;
    QTest::newRow("backslash") << "\\ |" << 0x31;
    QTest::newRow("apostrophe blank quote") << "' \"" << 0x34;
    QTest::newRow("F12") << "F12" << 0x45;
    QTest::newRow("right arrow") << QString(QChar(0x25BA)) << 0x4F;
    QTest::newRow("left arrow") << QString(QChar(0x25C4)) << 0x50;
    QTest::newRow("down arrow") << QString(QChar(0x25BC)) << 0x51;
    QTest::newRow("up arrow") << QString(QChar(0x25B2)) << 0x52;
    QTest::newRow("keypad 7 with its blank") << "KP 7 " << 0x5F;
    QTest::newRow("keypad 7 without blank") << "KP 7" << 0;
    QTest::newRow("keypad 8") << "KP 8" << 0x60;
    QTest::newRow("F13") << "F13" << 0x68;
    QTest::newRow("F24") << "F24" << 0x73;
    QTest::newRow("Intl'2") << "Intl'2" << 0x88;
    QTest::newRow("Int'l 2") << "Int'l 2" << 0x89;
    QTest::newRow("no Int'l 3") << "Int'l 3" << 0;
    QTest::newRow("R Win") << "R Win" << 0xE7;
    QTest::newRow("MS-L") << "MS-L" << 0xF0;
    QTest::newRow("MS-B5") << "MS-B5" << 0xF4;
    QTest::newRow("case matters") << "enter" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestMacroEncoder::keyNames()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    QCOMPARE(int(KeyNames::code(name)), code);
}

void TestMacroEncoder::keyNameTableShape()
{
    const auto& entries = KeyNames::entries();
    QCOMPARE(entries.size(), 132);
    QSet<QString> names;
    QSet<int> codes;
    for (const auto& e : entries) {
        QVERIFY2(!names.contains(e.first), qPrintable(e.first));
        names.insert(e.first);
        QVERIFY(e.second != 0);
        // 0x01 must stay free: it marks the two-byte mouse pause.
        QVERIFY(e.second != 0x01);
        QVERIFY2(!codes.contains(e.second), qPrintable(e.first));
        codes.insert(e.second);
    }
    QCOMPARE(KeyNames::table().size(), 132);
    QVERIFY(!codes.contains(0x32));
}

void TestMacroEncoder::encode_data()
{
    QTest::addColumn<uint>("device");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("expected");

    const uint mouse = MacroEncoder::kMouse;
    const uint keyboard = MacroEncoder::kKeyboard;
    auto hex = [](const char* h) { return QByteArray::fromHex(h); };

    QTest::newRow("empty") << mouse << QStringList() << hex("00010000");
    QTest::newRow("mouse: A, 50 ms, A up")
        << mouse << QStringList{down("A"), delay(50), up("A")} << hex("0001050481040000");
    QTest::newRow("mouse: first line 100 ms")
        << mouse << QStringList{delay(100)} << hex("0001000100050000");
    QTest::newRow("mouse: first line 10 ms, at least one unit")
        << mouse << QStringList{delay(10)} << hex("0001000100010000");
    QTest::newRow("mouse: 2000 ms after a key") << mouse << QStringList{down("A"), delay(2000)}
                                                << hex("000101046401"
                                                       "0000");
    QTest::newRow("mouse: 6000 ms after a key") << mouse << QStringList{down("A"), delay(6000)}
                                                << hex("00010104"
                                                       "0001012C"
                                                       "0000");
    QTest::newRow("mouse: 1270 ms merges as 127") << mouse << QStringList{down("A"), delay(1270)}
                                                  << hex("00017F04"
                                                         "0000");
    QTest::newRow("mouse: 1270 ms after a release keeps the release bit")
        << mouse << QStringList{up("A"), delay(1270)}
        << hex("0001FF04"
               "0000");
    QTest::newRow("mouse: 1271 ms is the two-byte form")
        << mouse << QStringList{down("A"), delay(1271)}
        << hex("00010104"
               "4001"
               "0000");
    QTest::newRow("mouse: 5100 ms is the last two-byte pause")
        << mouse << QStringList{down("A"), delay(5100)}
        << hex("00010104"
               "FF01"
               "0000");
    QTest::newRow("mouse: 5101 ms is the four-byte form")
        << mouse << QStringList{down("A"), delay(5101)}
        << hex("00010104"
               "000100FF"
               "0000");
    QTest::newRow("mouse: 1 ms merges as one unit") << mouse << QStringList{down("A"), delay(1)}
                                                    << hex("00010104"
                                                           "0000");
    QTest::newRow("mouse: two 50 ms delays in a row")
        << mouse << QStringList{down("A"), delay(50), delay(50)}
        << hex("00010504"
               "00010003"
               "0000");
    QTest::newRow("keyboard: 3000 ms")
        << keyboard << QStringList{delay(3000)} << hex("00017F00012C0000");
    QTest::newRow("keyboard: never merges")
        << keyboard << QStringList{down("A"), delay(50), up("A")}
        << hex("00010104"
               "7F000005"
               "8104"
               "0000");
    QTest::newRow("keyboard: under 10 ms is zero units") << keyboard << QStringList{delay(5)}
                                                         << hex("00017F000000"
                                                                "0000");
    QTest::newRow("other device: delays skipped, keys kept")
        << 2u << QStringList{down("A"), delay(50)}
        << hex("00010104"
               "0000");
    QTest::newRow("KP 7 without its blank")
        << mouse << QStringList{down("KP 7")} << hex("00010000");
    QTest::newRow("KP 7 with its blank")
        << mouse << QStringList{down("KP 7 ")} << hex("0001015F0000");
    QTest::newRow("arrow name") << mouse << QStringList{down(QString(QChar(0x25B2)))}
                                << hex("000101520000");
    QTest::newRow("mouse button name")
        << mouse << QStringList{down("MS-R"), up("MS-R")} << hex("000101F181F10000");
    QTest::newRow("skipped lines") << mouse
                                   << QStringList{delay(0),
                                                  QStringLiteral("x   [Delay]"),
                                                  QStringLiteral("A  [Press]"),
                                                  QStringLiteral("A"),
                                                  QString(),
                                                  down("Nope")}
                                   << hex("00010000");
    QTest::newRow("field only, no value")
        << mouse << QStringList{QStringLiteral("    [Down]")} << hex("00010000");

    // A short pause is folded only into a key event: folding it into the header or into the
    // count of an earlier pause would change what those bytes mean.
    QTest::newRow("mouse: short pause after a skipped first line")
        << mouse << QStringList{down("Nope"), delay(50)}
        << hex("0001"
               "00010003"
               "0000");
    QTest::newRow("mouse: short pause after a skipped line that follows a pause")
        << mouse << QStringList{down("A"), delay(2000), QStringLiteral("junk  [Junk]"), delay(50)}
        << hex("00010104"
               "6401"
               "00010003"
               "0000");
    QTest::newRow("mouse: short pause after an unknown key that follows a long pause")
        << mouse << QStringList{delay(6000), down("Nope"), delay(50)}
        << hex("0001"
               "0001012C"
               "00010003"
               "0000");
    QTest::newRow("mouse: pause after a skipped line that follows a key still merges")
        << mouse << QStringList{down("A"), down("Nope"), delay(50)}
        << hex("00010504"
               "0000");

    // Out-of-range delays: a negative one means nothing; a huge one is held at the longest
    // pause the 16-bit count can carry instead of wrapping to a short one.
    QTest::newRow("negative delay, mouse") << mouse << QStringList{down("A"), delay(-50)}
                                           << hex("00010104"
                                                  "0000");
    QTest::newRow("negative delay, keyboard")
        << keyboard << QStringList{delay(-3000)} << hex("00010000");
    QTest::newRow("huge delay, keyboard") << keyboard << QStringList{delay(700000)}
                                          << hex("00017F00FFFF"
                                                 "0000");
    QTest::newRow("huge delay, mouse") << mouse << QStringList{delay(2000000)}
                                       << hex("00010001FFFF"
                                              "0000");
    QTest::newRow("delay beyond 32 bits, mouse") << mouse << QStringList{delay(5000000000LL)}
                                                 << hex("00010001FFFF"
                                                        "0000");
}

void TestMacroEncoder::encode()
{
    QFETCH(uint, device);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, expected);
    QCOMPARE(bytesOf(MacroEncoder::encode(lines, device)).toHex(), expected.toHex());
}

// Feeds many random line lists and checks that every output parses as header, events or
// pauses of the device's forms, and end mark: a fold into the wrong byte breaks the parse.
void TestMacroEncoder::encodeRandomLinesKeepsShape()
{
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);
    const auto& entries = KeyNames::entries();
    const QStringList fields{QStringLiteral("    [Down]"), QStringLiteral("      [Up]"),
                             QStringLiteral("   [Delay]"), QStringLiteral("  [Bogus] "), QString()};
    QSet<uchar> codes;
    for (const auto& e : entries)
        codes.insert(e.second);

    for (int round = 0; round < 3000; ++round) {
        QStringList lines;
        const int count = rng.bounded(40);
        for (int i = 0; i < count; ++i) {
            const QString field = fields.at(rng.bounded(fields.size()));
            QString value;
            switch (rng.bounded(4)) {
            case 0:
                value = entries.at(rng.bounded(entries.size())).first;
                break;
            case 1:
                value = QString::number(qint64(rng.bounded(7000)) - 100);
                break;
            case 2:
                value = QString::number(rng.generate64() >> rng.bounded(64));
                break;
            default:
                for (int k = rng.bounded(12); k > 0; --k)
                    value.append(QChar(ushort(rng.bounded(1, 0x3000))));
            }
            lines.append(value + field);
        }
        const uint device = uint(rng.bounded(3));
        const QList<uchar> out = MacroEncoder::encode(lines, device);
        const QString context = QStringLiteral("seed %1 round %2 device %3: %4")
                                    .arg(seed)
                                    .arg(round)
                                    .arg(device)
                                    .arg(QString::fromLatin1(bytesOf(out).toHex()));

        QVERIFY2(out.size() >= 4 && out.size() % 2 == 0, qPrintable(context));
        QVERIFY2(out.at(0) == 0x00 && out.at(1) == 0x01, qPrintable(context));
        QVERIFY2(out.at(out.size() - 2) == 0x00 && out.last() == 0x00, qPrintable(context));
        int p = 2;
        const int end = out.size() - 2;
        while (p < end) {
            const uchar a = out.at(p);
            const uchar b = out.at(p + 1);
            if (device == MacroEncoder::kKeyboard && a == 0x7F && b == 0x00) {
                p += 4; // 7F 00 and the count
            } else if (device == MacroEncoder::kMouse && a == 0x00 && b == 0x01) {
                QVERIFY2(p + 4 <= end, qPrintable(context));
                QVERIFY2(out.at(p + 2) != 0 || out.at(p + 3) != 0, qPrintable(context));
                p += 4;
            } else if (device == MacroEncoder::kMouse && b == 0x01) {
                QVERIFY2(a >= 64, qPrintable(context));
                p += 2;
            } else {
                QVERIFY2(codes.contains(b), qPrintable(context));
                QVERIFY2((a & 0x7F) >= 1, qPrintable(context));
                if (device != MacroEncoder::kMouse)
                    QVERIFY2((a & 0x7F) == 1, qPrintable(context));
                p += 2;
            }
        }
        QVERIFY2(p == end, qPrintable(context));
    }
}

void TestMacroEncoder::fitToSlot_data()
{
    QTest::addColumn<bool>("mouse");
    QTest::addColumn<int>("keyEvents");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<bool>("cut");

    // Sequence length = 4 + 2 x events.
    QTest::newRow("mouse, fits exactly") << true << 62 << 3 << false;
    QTest::newRow("mouse, one pair too long") << true << 63 << 3 << true;
    QTest::newRow("mouse, repeat above 255") << true << 2 << 0x1234 << false;
    QTest::newRow("keyboard, fits exactly") << false << 94 << 0 << false;
    QTest::newRow("keyboard, one pair too long") << false << 95 << 0 << true;
}

void TestMacroEncoder::fitToSlot()
{
    QFETCH(bool, mouse);
    QFETCH(int, keyEvents);
    QFETCH(int, repeat);
    QFETCH(bool, cut);

    QStringList lines;
    for (int i = 0; i < keyEvents; ++i)
        lines.append(i % 2 ? up("B") : down("B"));
    const QList<uchar> seq = MacroEncoder::encode(lines, mouse ? 1 : 0);
    bool wasCut = !cut;
    const QByteArray bytes = mouse ? MacroEncoder::mouseMacro(seq, quint16(repeat), &wasCut)
                                   : MacroEncoder::keyboardMacro(seq, &wasCut);
    QCOMPARE(wasCut, cut);
    QCOMPARE(bytes.size(), mouse ? 128 : 192);
    QCOMPARE(uchar(bytes.at(0)), mouse ? uchar(repeat >> 8) : uchar(0x00));
    QCOMPARE(uchar(bytes.at(1)), mouse ? uchar(repeat & 0xFF) : uchar(0x01));
    const int kept = qMin(bytes.size(), seq.size());
    for (int i = 2; i < kept; ++i)
        QCOMPARE(uchar(bytes.at(i)), seq.at(i));
    for (int i = kept; i < bytes.size(); ++i)
        QCOMPARE(bytes.at(i), '\0');
}

void TestMacroEncoder::sendStoredMacro_data()
{
    QTest::addColumn<bool>("mouse");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<int>("keyEvents");
    QTest::addColumn<QVariant>("macroId");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("warned");

    QTest::newRow("mouse, repeat 3") << true << 3 << 2 << QVariant(5) << 5
                                     << QByteArray::fromHex("0003"
                                                            "0104"
                                                            "8104"
                                                            "0000")
                                     << false;
    QTest::newRow("mouse, slot from text, low 8 bits")
        << true << 1 << 0 << QVariant(QStringLiteral("261")) << 5 << QByteArray::fromHex("00010000")
        << false;
    QTest::newRow("mouse, repeat keeps its low 16 bits")
        << true << 0x10002 << 0 << QVariant(1) << 1 << QByteArray::fromHex("00020000") << false;
    QTest::newRow("mouse, too long: warned and cut")
        << true << 2 << 80 << QVariant(12) << 12 << QByteArray::fromHex("00020104") << true;
    QTest::newRow("keyboard, header stays") << false << 3 << 2 << QVariant(7) << 7
                                            << QByteArray::fromHex("0001"
                                                                   "0104"
                                                                   "8104"
                                                                   "0000")
                                            << false;
    QTest::newRow("keyboard, too long: warned and cut")
        << false << 3 << 120 << QVariant(34) << 34 << QByteArray::fromHex("00010104") << true;
}

void TestMacroEncoder::sendStoredMacro()
{
    QFETCH(bool, mouse);
    QFETCH(int, repeat);
    QFETCH(int, keyEvents);
    QFETCH(QVariant, macroId);
    QFETCH(int, slot);
    QFETCH(QByteArray, head);
    QFETCH(bool, warned);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    MacroLibrary library(dir.path());
    const uint device = mouse ? MacroLibrary::kMouse : MacroLibrary::kKeyboard;
    library.setDeviceId([device] { return device; });
    const QString name = library.createMacroIni().toString();
    QStringList lines;
    for (int i = 0; i < keyEvents; ++i)
        lines.append(i % 2 ? up("A") : down("A"));
    QVERIFY(library.saveMacroIni(name, lines).toBool());
    library.setMacroIniConfig(name, {-1, repeat});

    // The encoder takes the current device from its library.
    MacroEncoder encoder(&library);
    encoder.setMessages([](int i) { return QStringLiteral("message %1").arg(i); });
    SentMacro mouseSent, keyboardSent;
    encoder.setMouseSender(mouseSent.recorder(MacroEncoder::kMouseMacroSize));
    encoder.setKeyboardSender(keyboardSent.recorder(MacroEncoder::kKeyboardMacroSize));

    m_dialogs = ScriptedDialogs();
    Dialogs::install(&m_dialogs);
    if (mouse)
        encoder.ui_13H_SetMacroKey(macroId, name);
    else
        encoder.ui_11H_SetMacroKey(macroId, name);
    Dialogs::install(nullptr);

    const SentMacro& sent = mouse ? mouseSent : keyboardSent;
    QCOMPARE((mouse ? keyboardSent : mouseSent).calls, 0);
    QCOMPARE(sent.calls, 1);
    QCOMPARE(int(sent.slot), slot);
    QCOMPARE(sent.bytes.left(head.size()).toHex(), head.toHex());
    QCOMPARE(m_dialogs.warnings, warned ? 1 : 0);
    if (warned && mouse) {
        QCOMPARE(m_dialogs.lastTitle, QStringLiteral("MACRO"));
        QCOMPARE(m_dialogs.lastText,
                 QStringLiteral("Out of memory,\nsome command line has been cut."));
    } else if (warned) {
        QCOMPARE(m_dialogs.lastTitle, QStringLiteral("message 0"));
        QCOMPARE(m_dialogs.lastText, QStringLiteral("message 1"));
    }
}

void TestMacroEncoder::sendRefusesUnsafeName()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    MacroLibrary library(dir.path() + QStringLiteral("/macro"));
    MacroEncoder encoder(&library);
    int sends = 0;
    encoder.setMouseSender([&sends](uchar, uchar*) { ++sends; });
    encoder.setKeyboardSender([&sends](uchar, uchar*) { ++sends; });

    encoder.ui_13H_SetMacroKey(1, QStringLiteral("../x"));
    encoder.ui_11H_SetMacroKey(1, QString());
    QCOMPARE(sends, 0);

    // A safe name without file is the empty macro, as stored macros may vanish meanwhile.
    encoder.ui_13H_SetMacroKey(1, QStringLiteral("gone"));
    QCOMPARE(sends, 1);
}

QTEST_MAIN(TestMacroEncoder)
#include "tst_macroencoder.moc"
