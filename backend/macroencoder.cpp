#include "macroencoder.h"

#include "dialogs.h"
#include "keynames.h"
#include "macrolibrary.h"

#include <QtGlobal>
#include <algorithm>

namespace
{

const QString kDownField = QStringLiteral("    [Down]");
const QString kUpField = QStringLiteral("      [Up]");
const QString kDelayField = QStringLiteral("   [Delay]");
constexpr int kFieldLength = 10;

constexpr uchar kReleaseFlag = 0x80;
// Pause bits 0...6 of a key event as produced: 10 ms.
constexpr uchar kDefaultEventPause = 0x01;
// The longest pause a key event can carry: 127 x 10 ms.
constexpr qint64 kMaxMergedDelayMs = 1270;
// The longest pause of the two-byte form: 255 x 20 ms.
constexpr qint64 kMaxMediumDelayMs = 5100;
// Pause counts are 16 bits on the wire; longer pauses are held at the longest one.
constexpr qint64 kMaxPauseUnits = 0xFFFF;

void appendWord(QList<uchar>& out, qint64 value)
{
    const qint64 v = qBound<qint64>(0, value, kMaxPauseUnits);
    out.append(uchar(v >> 8));
    out.append(uchar(v & 0xFF));
}

QString fieldOf(const QString& line)
{
    return line.right(kFieldLength);
}

} // namespace

MacroEncoder::MacroEncoder(MacroLibrary* library, QObject* parent)
    : QObject(parent), m_library(library)
{
}

uint MacroEncoder::deviceId() const
{
    return m_library ? m_library->deviceId() : kMouse;
}

QList<uchar> MacroEncoder::encode(const QStringList& lines, uint deviceId)
{
    QList<uchar> out{0x00, 0x01};
    // Whether the last bytes appended form a key event. A short mouse pause is folded into
    // that event. When only skipped lines (unknown key, unknown command) stand between the
    // delay and the header or an earlier pause, there is no event to fold into: the pause then
    // takes its own bytes, as it would without the skipped lines. Folding it into the header
    // or into a pause's count would change what those bytes mean.
    bool lastIsKeyEvent = false;

    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        const QString field = fieldOf(line);
        const QString value = line.left(qMax(0, line.size() - kFieldLength));

        if (field == kDownField || field == kUpField) {
            const uchar code = KeyNames::code(value);
            if (code == 0)
                continue;
            out.append(field == kUpField ? uchar(kReleaseFlag | kDefaultEventPause)
                                         : kDefaultEventPause);
            out.append(code);
            lastIsKeyEvent = true;
            continue;
        }
        if (field != kDelayField)
            continue;

        bool ok = false;
        const qint64 d = value.toLongLong(&ok);
        // A negative pause means nothing; treat it like an empty one.
        if (!ok || d <= 0)
            continue;

        if (deviceId == kKeyboard) {
            out.append(0x7F);
            out.append(0x00);
            appendWord(out, d / 10);
            lastIsKeyEvent = false;
        } else if (deviceId == kMouse) {
            const bool afterNonDelay = i > 0 && fieldOf(lines.at(i - 1)) != kDelayField;
            if (d <= kMaxMergedDelayMs && afterNonDelay && lastIsKeyEvent) {
                uchar& flags = out[out.size() - 2];
                flags = uchar((flags & kReleaseFlag) | ((std::max<qint64>(d, 10) + 5) / 10));
            } else if (d > kMaxMergedDelayMs && d <= kMaxMediumDelayMs) {
                out.append(uchar((std::max<qint64>(d, 20) + 10) / 20));
                out.append(0x01);
            } else {
                out.append(0x00);
                out.append(0x01);
                appendWord(out, (std::max<qint64>(d, 20) + 10) / 20);
            }
            lastIsKeyEvent = false;
        }
    }
    out.append(0x00);
    out.append(0x00);
    return out;
}

QList<uchar> MacroEncoder::macroIncode(const QStringList& lines) const
{
    return encode(lines, deviceId());
}

namespace
{

QByteArray fitted(const QList<uchar>& sequence, int size, bool* cut)
{
    QByteArray bytes(size, '\0');
    const int n = qMin(size, sequence.size());
    for (int i = 0; i < n; ++i)
        bytes[i] = char(sequence.at(i));
    if (cut)
        *cut = sequence.size() > size;
    return bytes;
}

} // namespace

QByteArray MacroEncoder::mouseMacro(const QList<uchar>& sequence, quint16 repeat, bool* cut)
{
    QByteArray bytes = fitted(sequence, kMouseMacroSize, cut);
    bytes[0] = char(repeat >> 8);
    bytes[1] = char(repeat & 0xFF);
    return bytes;
}

QByteArray MacroEncoder::keyboardMacro(const QList<uchar>& sequence, bool* cut)
{
    return fitted(sequence, kKeyboardMacroSize, cut);
}

bool MacroEncoder::encodeStored(const QString& name, QList<uchar>* sequence) const
{
    if (!m_library || !MacroLibrary::isSafeName(name))
        return false;
    // A macro without file loads as no lines: the empty macro, header and end mark.
    *sequence = encode(m_library->loadMacroIni(name), deviceId());
    return true;
}

void MacroEncoder::ui_13H_SetMacroKey(const QVariant& macroId, const QVariant& name)
{
    const QString macro = name.toString();
    QList<uchar> sequence;
    if (!encodeStored(macro, &sequence))
        return;
    bool cut = false;
    QByteArray bytes = mouseMacro(sequence, quint16(m_library->storedRepeat(macro)), &cut);
    if (cut)
        Dialogs::instance().warning(nullptr, tr("MACRO"),
                                    tr("Out of memory,\nsome command line has been cut."));
    if (m_sendMouse)
        m_sendMouse(uchar(macroId.toUInt()), reinterpret_cast<uchar*>(bytes.data()));
}

void MacroEncoder::ui_11H_SetMacroKey(const QVariant& macroId, const QVariant& name)
{
    QList<uchar> sequence;
    if (!encodeStored(name.toString(), &sequence))
        return;
    bool cut = false;
    QByteArray bytes = keyboardMacro(sequence, &cut);
    if (cut) {
        const QString title = m_message ? m_message(0) : QString();
        const QString text = m_message ? m_message(1) : QString();
        Dialogs::instance().warning(nullptr, QStringLiteral("%1").arg(title),
                                    QStringLiteral("%1").arg(text));
    }
    if (m_sendKeyboard)
        m_sendKeyboard(uchar(macroId.toUInt()), reinterpret_cast<uchar*>(bytes.data()));
}
