#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>

class QWidget;

// The user's macros: one INI file "<name>.bin" per macro in one folder. A file holds the
// macro lines under [macro] and, under [config], the device slot the macro is assigned to,
// the line count, the repeat count and the device the assignment belongs to.
//
// Names become file names, so a name that could leave the folder or that the file system
// cannot hold is refused: the operation returns its failure result and touches no file.
class MacroLibrary : public QObject
{
    Q_OBJECT
public:
    static constexpr uint kKeyboard = 0;
    static constexpr uint kMouse = 1;
    // The mouse has device slots 1...12; the keyboard 0...34.
    static constexpr int kMouseSlots = 12;
    static constexpr int kKeyboardSlots = 35;
    // Longest name, in UTF-8 bytes; leaves room for the extension and a temporary suffix
    // within the usual 255-byte file-name limit.
    static constexpr int kMaxNameBytes = 200;
    // Largest file accepted on import.
    static constexpr qint64 kMaxImportBytes = 1024 * 1024;
    // Most lines read from one file; far more than any device slot holds.
    static constexpr int kMaxLines = 65536;

    // Sends macro `name` to device slot `slot`.
    using Resend = std::function<void(uchar slot, const QString& name)>;

    // folder: the macro folder, "./modules/macro" in the program.
    explicit MacroLibrary(const QString& folder, QObject* parent = nullptr);

    QString folder() const { return m_folder; }
    // The current device id (0 keyboard, 1 mouse). Default: always the mouse.
    void setDeviceId(std::function<uint()> deviceId) { m_deviceId = std::move(deviceId); }
    uint deviceId() const;
    // Who re-sends an assigned macro after it was saved.
    void setMouseResend(Resend resend) { m_resendMouse = std::move(resend); }
    void setKeyboardResend(Resend resend) { m_resendKeyboard = std::move(resend); }
    // Parent of the file dialogs.
    void setDialogParent(QWidget* parent) { m_dialogParent = parent; }

    // Whether a name can be used as a macro file name.
    static bool isSafeName(const QString& name);
    // The file of a macro; empty for a name that is refused.
    QString filePath(const QString& name) const;
    // Whether the file of a (safe) macro name exists.
    bool exists(const QString& name) const;

    QStringList getMacroIniNames() const;
    QVariant createMacroIni();
    QVariant deleteMacroIni(const QVariant& name);
    bool renameMacroIniFile(const QVariant& oldName, const QVariant& newName);
    QStringList loadMacroIni(const QVariant& name) const;
    // False when the file is missing or cannot be written; an assigned macro is re-sent only
    // after its lines were written.
    QVariant saveMacroIni(const QVariant& name, const QStringList& macros);
    QVariantList loadMacroIniConfig(const QVariant& name) const;
    void setMacroIniConfig(const QVariant& name, const QVariantList& config);
    // The stored repeat count as the device takes it (low 16 bits); 1 when not stored.
    quint16 storedRepeat(const QVariant& name) const;

    // Import: replace the macro's file by a ".mc" file the user picks. Returns true when
    // the file was replaced.
    bool loadMacroIniFromFile(const QVariant& name);
    // Export: copy the macro's file to a ".mc" file the user picks. Returns true when copied.
    bool saveMacroIniToFile(const QVariant& name);

    // New macro names: "Macro. " and the number, at least three digits.
    static QString macroName(int n);

private:
    QString m_folder;
    std::function<uint()> m_deviceId;
    Resend m_resendMouse;
    Resend m_resendKeyboard;
    QWidget* m_dialogParent = nullptr;
};
