#pragma once

#include "filewarning.h"

#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

class QWidget;

// The ten profile slots ("p1.bin".."p10.bin") and the read-only default profile ("pD.bin")
// in one settings folder. Slot n is file p(n+1).bin.
//
// Import and reset replace a slot's file atomically and then its settings object, so a
// pointer taken from slot() or current() is valid only until the next import or reset of
// that slot (slotReplaced() tells when); read through value()/setValue() or fetch the
// pointer again instead of keeping it.
class ProfileStore : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSlots = 10;
    // Profile files the user imports are refused above this size: a profile is a few KiB.
    static constexpr qint64 kMaxImportSize = 1024 * 1024;

    // Page ids of loadDefaultProfile().
    enum PageId : uchar { ButtonPage = 0, LightingPage = 2, SensorPage = 3 };

    // Reads one picture of the keyboard into a 512-byte buffer (the transport's 92H read).
    using PictureReader = std::function<void(uchar index, uchar* buffer512)>;

    // folder: the settings folder, "./modules/setting" in the program.
    explicit ProfileStore(const QString& folder, QObject* parent = nullptr);
    ~ProfileStore() override;

    int currentProfile() const { return m_current; }
    // Changes the slot in use; false (and no change) for an index outside 0..9.
    bool setCurrentProfile(int profile);

    // Slot i's settings object, or nullptr outside 0..9.
    QSettings* slot(int i) const;
    QSettings* current() const { return slot(m_current); }
    const QList<QSettings*>& profileSettings() const { return m_slots; }

    // Read and write a key of the current slot.
    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;
    void setValue(const QString& key, const QVariant& value);

    QString folder() const { return m_folder; }
    // The file of slot i ("p<i+1>.bin"), or empty outside 0..9.
    QString slotFilePath(int i) const;
    QString defaultFilePath() const;

    void setMessages(MessageTexts messages) { m_messages = std::move(messages); }

    // Values of one UI page from pD.bin (button page: the sixteen 4-entry codes; lighting
    // page: 24 colour numbers and the 3 effect numbers; sensor page: the 45 values); empty
    // for any other page.
    QVariantList loadDefaultProfile(uchar uiPageId) const;

    // Import: the user picks a ".pf" file that replaces slot `profile`; the slot's settings
    // are reopened at once. False when cancelled, refused or failed (the slot is unchanged).
    bool importProfile(int profile, QWidget* dialogParent);
    // Export: the user names a ".pf" file that becomes a byte copy of slot `profile`.
    bool exportProfile(int profile, QWidget* dialogParent);
    // Replaces slot `profile` by a copy of pD.bin; unchanged on failure.
    bool resetProfile(int profile);

    // The stored function code of one button: "keydefine/<id>" for the keyboard (device 0),
    // "keydefine_Q7/<id>" for the mouse (device 1), as strings; empty otherwise.
    QVariantList keydefine(const QVariant& matrixId, uint device) const;

    // Keyboard only (device 0): copies user pictures 0..4 from the device into the current
    // slot as "userPicture/<index>". Does nothing for any other device.
    void syncFW(uint device, const PictureReader& readPicture);

signals:
    // Slot `profile` got a new file and settings object (import or reset).
    void slotReplaced(int profile);

private:
    bool replaceSlot(int profile, const QString& source, qint64 maxSize, QString* error);

    QString m_folder;
    QList<QSettings*> m_slots;
    int m_current = 0;
    MessageTexts m_messages;
};
