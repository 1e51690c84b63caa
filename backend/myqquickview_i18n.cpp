// Languages: the view host's slots forward to Localization.
#include "localization.h"
#include "myqquickview.h"

void myQQuickView::initLocalization()
{
    m_localization = new Localization(QStringLiteral("./modules/i18n"), this);
}

QVariantMap myQQuickView::chkLanguages()
{
    return m_localization->languages();
}

QStringList myQQuickView::getGlobalStrings(QString langCode)
{
    return m_localization->globalStrings(langCode);
}

QStringList myQQuickView::getProductLayoutStrings_Q7(QString langCode)
{
    return m_localization->productLayoutStrings(langCode);
}
