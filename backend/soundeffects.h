#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class SoundPlayer;

// The interface sounds: a background tune (index 0, "00.mp3") and four effects (indexes
// 1..4, "01.wav".."04.wav") in one folder, each on its own player, so different sounds can
// play together while asking for the same one again restarts it.
//
// The background tune loops: when it ends, and when effect 1 (the start animation's sound)
// ends, the tune starts again. Clearing the players ends the loop, because a cleared
// player reports no end.
class SoundEffects : public QObject
{
    Q_OBJECT
public:
    // Makes one player; the new player's parent is the given object.
    using PlayerFactory = std::function<SoundPlayer*(QObject* parent)>;

    static constexpr int kPlayerCount = 5;

    // folder: the sound folder, "./modules/media" in the program. factory: how players are
    // made; media players when empty.
    explicit SoundEffects(const QString& folder, QObject* parent = nullptr,
                          const PlayerFactory& factory = PlayerFactory());

    // Switches sounds on or off for playIndex(). Stops nothing: clearAll() does that.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }

    // Index 0: the background tune; 1..4: restart that effect. Nothing while sounds are
    // off, nothing for any other index.
    void playIndex(int index);
    // Sets the background tune's source and plays it, whether sounds are on or not.
    void playBackground();
    // Stops every player and drops its source.
    void clearAll();

    // Player i (0 background, 1..4 effects).
    SoundPlayer* player(int i) const { return m_players.value(i); }
    // File of sound index i, resolved against the current directory at call time.
    QString soundFile(int index) const;

private:
    // End of the background tune or of effect 1: the tune starts again.
    void onLoopPoint();

    QString m_folder;
    quint64 m_clearGeneration = 0;
    bool m_enabled = true;
    QList<SoundPlayer*> m_players;
};
