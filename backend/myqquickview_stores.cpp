// Application configuration and profile store slots of the view host: each forwards to its
// service (ApConfigStore, ProfileStore).
#include "apconfigstore.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "profilestore.h"

void myQQuickView::initStores()
{
    m_apConfig = new ApConfigStore(QStringLiteral("./modules/setting"),
                                   QStringLiteral("./modules/img"), this);
    m_profiles = new ProfileStore(QStringLiteral("./modules/setting"), this);
    m_apConfig->setMessages(messageTexts());
    m_profiles->setMessages(messageTexts());
}

void myQQuickView::saveApConfig(QVariantList apConfigs)
{
    m_apConfig->save(apConfigs);
}

QVariantList myQQuickView::loadApConfig()
{
    return m_apConfig->load();
}

QVariantList myQQuickView::loadDeviceApConfig()
{
    return m_apConfig->loadDevice();
}

void myQQuickView::resetApconfig()
{
    m_apConfig->reset();
}

bool myQQuickView::getIsSkinShow()
{
    return m_apConfig->isSkinShow();
}

QString myQQuickView::getCustomFilePath()
{
    return m_apConfig->customFilePath(this);
}

void myQQuickView::syncFW()
{
    if (!hid)
        return;
    Hid_Thread* transport = hid;
    m_profiles->syncFW(transport->currentDevice, [transport](uchar index, uchar* buffer512) {
        transport->hid_92H_GetUserPicture(index, buffer512);
    });
}

QVariantList myQQuickView::loadDefaultProfile(uchar uiPageId)
{
    return m_profiles->loadDefaultProfile(uiPageId);
}

void myQQuickView::loadProfile(int profile)
{
    m_profiles->importProfile(profile, this);
}

void myQQuickView::saveProfile(int profile)
{
    m_profiles->exportProfile(profile, this);
}

void myQQuickView::resetProfile(int profile)
{
    m_profiles->resetProfile(profile);
}

QVariantList myQQuickView::getKeydefine(QVariant matrixId)
{
    return m_profiles->keydefine(matrixId, hid ? hid->currentDevice : 1);
}
