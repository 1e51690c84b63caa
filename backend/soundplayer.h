#pragma once

#include <QObject>
#include <QUrl>

class QMediaPlayer;

// One interface-sound player as SoundEffects sees it. The real one wraps a media player;
// tests use a recording one, so the sound rules are checked without an audio device.
class SoundPlayer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Sets the sound to play next. Does not start it.
    virtual void setSource(const QUrl& source) = 0;
    // Starts the current sound from its beginning, or resumes it. Returns at once.
    virtual void play() = 0;
    // Stops playback and drops the source. A cleared player never reports finished().
    virtual void clear() = 0;

signals:
    // The sound played to its end.
    void finished();
};

// SoundPlayer over a QMediaPlayer of the music role. Without an audio device the media
// player reports errors and never finishes; nothing here waits for it.
class MediaSoundPlayer : public SoundPlayer
{
    Q_OBJECT
public:
    explicit MediaSoundPlayer(QObject* parent = nullptr);

    void setSource(const QUrl& source) override;
    void play() override;
    void clear() override;

private:
    QMediaPlayer* m_player;
};
