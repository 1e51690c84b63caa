#include "apconfigstore.h"

#include "atomicfile.h"
#include "dialogs.h"
#include "settingsfile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace
{

const char kFileName[] = "apConfig.bin";
const char kFactoryFileName[] = "apConfigD.bin";

// The page's list has 32 entries. A damaged or hostile "common/total" must not make the
// reader build a list of millions of zeros, so anything beyond this is not read.
constexpr int kMaxEntries = 1024;

} // namespace

ApConfigStore::ApConfigStore(const QString& settingFolder, const QString& imageFolder,
                             QObject* parent)
    : QObject(parent), m_settingFolder(settingFolder), m_imageFolder(imageFolder)
{
    m_settings = new QSettings(SettingsFile::usablePath(filePath()), QSettings::IniFormat);
}

ApConfigStore::~ApConfigStore()
{
    delete m_settings;
}

QString ApConfigStore::filePath() const
{
    return m_settingFolder + QLatin1Char('/') + QLatin1String(kFileName);
}

QString ApConfigStore::factoryFilePath() const
{
    return m_settingFolder + QLatin1Char('/') + QLatin1String(kFactoryFileName);
}

void ApConfigStore::save(const QVariantList& values)
{
    m_settings->setValue(QStringLiteral("common/total"), values.size());
    for (int i = 0; i < values.size(); ++i)
        m_settings->setValue(QStringLiteral("common/") + QString::number(i), values.at(i));
}

QVariantList ApConfigStore::load() const
{
    const int total =
        qBound(0, m_settings->value(QStringLiteral("common/total"), 0).toInt(), kMaxEntries);
    QVariantList values;
    values.reserve(total);
    for (int i = 0; i < total; ++i)
        values.append(m_settings->value(QStringLiteral("common/") + QString::number(i), 0));
    return values;
}

QVariantList ApConfigStore::loadDevice() const
{
    return {m_settings->value(QStringLiteral("Q7/colorMaxStage"), 8).toInt()};
}

bool ApConfigStore::reset()
{
    // Pending writes go to the old file first, so the old object has nothing left to write
    // over the factory copy when it is destroyed.
    m_settings->sync();
    QString error;
    if (!AtomicFile::copy(factoryFilePath(), filePath(), AtomicFile::kNoLimit, &error)) {
        qWarning().noquote() << "resetApconfig:" << error;
        return false;
    }
    delete m_settings;
    m_settings = new QSettings(SettingsFile::usablePath(filePath()), QSettings::IniFormat);
    emit reopened();
    return true;
}

bool ApConfigStore::isSkinShow() const
{
    const QDir dir(m_imageFolder);
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted).size() >= 2;
}

QString ApConfigStore::customFilePath(QWidget* dialogParent) const
{
    const QString path = Dialogs::instance().openFileName(
        dialogParent, tr("Open File"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        tr("Image Files(*.png)"));
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showFileWarning(m_messages, path);
        return QString();
    }
    file.close();
    return path;
}

QString ApConfigStore::windowTitle() const
{
    return m_settings->value(QStringLiteral("common/name")).toString();
}
