#pragma once

#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>

// The ten profile slots ("p1.bin".."p10.bin") and the read-only default profile ("pD.bin")
// in one settings folder. Slot n is file p(n+1).bin.
class ProfileStore : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSlots = 10;

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

private:
    QString m_folder;
    QList<QSettings*> m_slots;
    int m_current = 0;
};
