// Placeholder bodies: replaced by the real implementation.
#include "myqquickview.h"

void myQQuickView::initStores() {}
void myQQuickView::saveApConfig(QVariantList apConfigs) { Q_UNUSED(apConfigs); }
QVariantList myQQuickView::loadApConfig() {  return {}; }
QVariantList myQQuickView::loadDeviceApConfig() {  return {}; }
void myQQuickView::resetApconfig() { }
bool myQQuickView::getIsSkinShow() {  return {}; }
QString myQQuickView::getCustomFilePath() {  return {}; }
void myQQuickView::syncFW() { }
QVariantList myQQuickView::loadDefaultProfile(uchar uiPageId) { Q_UNUSED(uiPageId);  return {}; }
void myQQuickView::loadProfile(int profile) { Q_UNUSED(profile); }
void myQQuickView::saveProfile(int profile) { Q_UNUSED(profile); }
void myQQuickView::resetProfile(int profile) { Q_UNUSED(profile); }
QVariantList myQQuickView::getKeydefine(QVariant matrixId) { Q_UNUSED(matrixId);  return {}; }
