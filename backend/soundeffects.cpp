#include "soundeffects.h"

#include "soundplayer.h"

#include <QDir>
#include <QUrl>

SoundEffects::SoundEffects(const QString& folder, QObject* parent, const PlayerFactory& factory)
    : QObject(parent), m_folder(folder)
{
    for (int i = 0; i < kPlayerCount; ++i)
        m_players.append(factory ? factory(this) : new MediaSoundPlayer(this));
    for (int i = 0; i < 2; ++i)
        connect(m_players[i], &SoundPlayer::finished, this, &SoundEffects::onLoopPoint);
}

void SoundEffects::onLoopPoint()
{
    // The restart goes through the event loop: a player that reports its end from inside
    // play() (an empty or broken file on some media back ends) would otherwise restart
    // itself recursively until the stack runs out. A clearAll() in between cancels it, so
    // an end reported just before the players were cleared cannot bring the tune back.
    const quint64 generation = m_clearGeneration;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == m_clearGeneration)
                playBackground();
        },
        Qt::QueuedConnection);
}

QString SoundEffects::soundFile(int index) const
{
    const QString name =
        index == 0 ? QStringLiteral("00.mp3") : QStringLiteral("0%1.wav").arg(index);
    return QDir(m_folder).absoluteFilePath(name);
}

void SoundEffects::playIndex(int index)
{
    if (!m_enabled || index < 0 || index >= kPlayerCount)
        return;
    if (index == 0) {
        playBackground();
        return;
    }
    SoundPlayer* p = m_players[index];
    p->clear();
    p->setSource(QUrl::fromLocalFile(soundFile(index)));
    p->play();
}

void SoundEffects::playBackground()
{
    SoundPlayer* p = m_players[0];
    p->setSource(QUrl::fromLocalFile(soundFile(0)));
    p->play();
}

void SoundEffects::clearAll()
{
    ++m_clearGeneration;
    for (SoundPlayer* p : m_players)
        p->clear();
}
