#include "soundplayer.h"

#include <QAudio>
#include <QMediaPlayer>

MediaSoundPlayer::MediaSoundPlayer(QObject* parent)
    : SoundPlayer(parent), m_player(new QMediaPlayer(this))
{
    m_player->setAudioRole(QAudio::MusicRole);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::EndOfMedia)
                    emit finished();
            });
}

void MediaSoundPlayer::setSource(const QUrl& source)
{
    m_player->setMedia(source);
}

void MediaSoundPlayer::play()
{
    m_player->play();
}

void MediaSoundPlayer::clear()
{
    m_player->stop();
    m_player->setMedia(QMediaContent());
}
