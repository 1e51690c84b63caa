// Languages: the view host's slots forward to Localization.
#include "localization.h"
#include "myqquickview.h"

void myQQuickView::initLocalization()
{
    m_localization = new Localization(QStringLiteral("./modules/i18n"), this);
}

MessageTexts myQQuickView::messageTexts() const
{
    // Looked up per message: the stores are created before the localization service.
    return [this](int i) { return m_localization ? m_localization->msg(i) : QString(); };
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
