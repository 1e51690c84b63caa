// Interface sounds: the view host's slots forward to SoundEffects.
#include "myqquickview.h"
#include "soundeffects.h"

void myQQuickView::initSounds()
{
    m_sounds = new SoundEffects(QStringLiteral("./modules/media"), this);
}

void myQQuickView::setEnableAudio(bool isEnable)
{
    m_sounds->setEnabled(isEnable);
}

void myQQuickView::playMedia_Index(uchar index)
{
    m_sounds->playIndex(index);
}

void myQQuickView::playMedia_Background()
{
    m_sounds->playBackground();
}

void myQQuickView::clearAllMedia()
{
    m_sounds->clearAll();
}
