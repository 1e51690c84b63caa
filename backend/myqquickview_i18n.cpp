// Placeholder bodies: replaced by the real implementation.
#include "myqquickview.h"

void myQQuickView::initLocalization() {}
QVariantMap myQQuickView::chkLanguages() {  return {}; }
QStringList myQQuickView::getGlobalStrings(QString langCode) { Q_UNUSED(langCode);  return {}; }
QStringList myQQuickView::getProductLayoutStrings_Q7(QString langCode) { Q_UNUSED(langCode);  return {}; }
