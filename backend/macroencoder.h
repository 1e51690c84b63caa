#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>

#include "macrolibrary.h"

// Turns macro lines ("<value><10-character command field>") into the byte sequence the
// devices store, and writes a named macro into a device macro slot: 128 bytes for the mouse
// (command 13H), 192 bytes for the keyboard (command 11H).
//
// Sequence: header 00 01, then per line a key event (flag|pause, code) or a pause, then the
// end mark 00 00. Pauses are encoded by device: the keyboard always uses 7F 00 <t16> in 10 ms
// units; the mouse folds short pauses into the preceding key event, and otherwise uses
// <n> 01 (20 ms units, 64...255) or 00 01 <u16> (20 ms units).
class MacroEncoder : public QObject
{
    Q_OBJECT
public:
    static constexpr uint kKeyboard = MacroLibrary::kKeyboard;
    static constexpr uint kMouse = MacroLibrary::kMouse;
    static constexpr int kMouseMacroSize = 128;
    static constexpr int kKeyboardMacroSize = 192;

    // Receives the slot number and a buffer of kMouseMacroSize / kKeyboardMacroSize bytes.
    using Sender = std::function<void(uchar slot, uchar* bytes)>;

    // library: where named macros are read from (not owned); it also knows the current
    // device, which decides how pauses are encoded.
    explicit MacroEncoder(MacroLibrary* library, QObject* parent = nullptr);

    // The current device id (0 keyboard, 1 mouse): the library's; the mouse without one.
    uint deviceId() const;
    void setMouseSender(Sender send) { m_sendMouse = std::move(send); }
    void setKeyboardSender(Sender send) { m_sendKeyboard = std::move(send); }
    // Message text i of the loaded language (the keyboard's overflow warning uses 0 and 1).
    void setMessages(std::function<QString(int)> message) { m_message = std::move(message); }

    // The encoding for a given device id.
    static QList<uchar> encode(const QStringList& lines, uint deviceId);
    // The encoding for the current device.
    QList<uchar> macroIncode(const QStringList& lines) const;

    // The 128 bytes for the mouse: the sequence with its header replaced by the repeat count
    // (big-endian), cut or zero-padded to size. cut (if given) tells whether bytes were lost.
    static QByteArray mouseMacro(const QList<uchar>& sequence, quint16 repeat, bool* cut);
    // The 192 bytes for the keyboard: the sequence cut or zero-padded to size.
    static QByteArray keyboardMacro(const QList<uchar>& sequence, bool* cut);

    // Load, encode and send a named macro; a macro too long for the slot is sent cut after a
    // warning. A name the library refuses sends nothing.
    void ui_13H_SetMacroKey(const QVariant& macroId, const QVariant& name);
    void ui_11H_SetMacroKey(const QVariant& macroId, const QVariant& name);

private:
    // The encoded lines of a stored macro; false for a name the library refuses.
    bool encodeStored(const QString& name, QList<uchar>* sequence) const;

    MacroLibrary* m_library;
    Sender m_sendMouse;
    Sender m_sendKeyboard;
    std::function<QString(int)> m_message;
};
