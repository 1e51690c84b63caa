#include "localization.h"

Localization::Localization(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
}
