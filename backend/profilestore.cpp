#include "profilestore.h"

ProfileStore::ProfileStore(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
    for (int k = 1; k <= kSlots; ++k)
        m_slots.append(new QSettings(m_folder + "/p" + QString::number(k) + ".bin",
                                     QSettings::IniFormat));
}

ProfileStore::~ProfileStore()
{
    qDeleteAll(m_slots);
}

bool ProfileStore::setCurrentProfile(int profile)
{
    if (profile < 0 || profile >= kSlots)
        return false;
    m_current = profile;
    return true;
}

QSettings* ProfileStore::slot(int i) const
{
    return (i >= 0 && i < m_slots.size()) ? m_slots.at(i) : nullptr;
}

QVariant ProfileStore::value(const QString& key, const QVariant& defaultValue) const
{
    return current()->value(key, defaultValue);
}

void ProfileStore::setValue(const QString& key, const QVariant& value)
{
    current()->setValue(key, value);
}
