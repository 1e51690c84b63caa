// Placeholder bodies: replaced by the real implementation.
#include "myqquickview.h"

myQQuickView::myQQuickView(QWidget* parent) : QQuickWidget(parent)
{
    initStores();
    initLocalization();
    initDevice();
    initSounds();
    initMacros();
}
myQQuickView::~myQQuickView() {}
void myQQuickView::setHid(Hid_Thread* h)
{
    hid = h;
    attachHid();
}
void myQQuickView::invokeRoot(const char*, const QVariantList&, bool) {}
void myQQuickView::initUI() {}
void myQQuickView::runUI() {}
