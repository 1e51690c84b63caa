// Placeholder bodies: replaced by the real implementation.
#include "myqquickview.h"

void myQQuickView::initSounds() {}
void myQQuickView::setEnableAudio(bool isEnable) { Q_UNUSED(isEnable); }
void myQQuickView::playMedia_Index(uchar index) { Q_UNUSED(index); }
void myQQuickView::playMedia_Background() { }
void myQQuickView::clearAllMedia() { }
