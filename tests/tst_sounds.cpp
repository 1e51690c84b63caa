#include "soundeffects.h"
#include "soundplayer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// Records every call as "<player> <call>[ <file name>]" in one shared log.
class RecordingPlayer : public SoundPlayer
{
public:
    RecordingPlayer(int id, QStringList* log, QObject* parent)
        : SoundPlayer(parent), m_id(id), m_log(log)
    {
    }
    void setSource(const QUrl& source) override
    {
        m_log->append(
            QString("%1 source %2").arg(m_id).arg(QFileInfo(source.toLocalFile()).fileName()));
    }
    void play() override { m_log->append(QString("%1 play").arg(m_id)); }
    void clear() override { m_log->append(QString("%1 clear").arg(m_id)); }
    void reportEnd() { emit finished(); }

private:
    int m_id;
    QStringList* m_log;
};

struct Fixture {
    QStringList log;
    QList<RecordingPlayer*> players;
    SoundEffects sounds;

    Fixture()
        : sounds("/media-test", nullptr, [this](QObject* parent) {
              auto* p = new RecordingPlayer(players.size(), &log, parent);
              players.append(p);
              return p;
          })
    {
    }
};

} // namespace

class TstSounds : public QObject
{
    Q_OBJECT
private slots:
    void playIndex_data();
    void playIndex();
    void backgroundIgnoresTheSwitch();
    void switchingOffStopsNothing();
    void sameEffectRestarts();
    void endOfSound_data();
    void endOfSound();
    void clearAllEndsTheLoop();
    void playerReportingEndInsidePlayDoesNotRecurse();
    void soundFiles();
    void realPlayersWithoutAudioDevice();
};

void TstSounds::playIndex_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("background") << true << 0 << QStringList{"0 source 00.mp3", "0 play"};
    QTest::newRow("effect 1") << true << 1 << QStringList{"1 clear", "1 source 01.wav", "1 play"};
    QTest::newRow("effect 4") << true << 4 << QStringList{"4 clear", "4 source 04.wav", "4 play"};
    QTest::newRow("index 5") << true << 5 << QStringList{};
    QTest::newRow("index 255") << true << 255 << QStringList{};
    QTest::newRow("off: background") << false << 0 << QStringList{};
    QTest::newRow("off: effect") << false << 3 << QStringList{};
}

void TstSounds::playIndex()
{
    QFETCH(bool, enabled);
    QFETCH(int, index);
    QFETCH(QStringList, calls);
    Fixture f;
    f.sounds.setEnabled(enabled);
    f.sounds.playIndex(index);
    QCOMPARE(f.log, calls);
}

void TstSounds::backgroundIgnoresTheSwitch()
{
    Fixture f;
    f.sounds.setEnabled(false);
    f.sounds.playBackground();
    QCOMPARE(f.log, (QStringList{"0 source 00.mp3", "0 play"}));
}

void TstSounds::switchingOffStopsNothing()
{
    Fixture f;
    f.sounds.playIndex(1);
    f.log.clear();
    f.sounds.setEnabled(false);
    QVERIFY(f.log.isEmpty());
    f.sounds.setEnabled(true);
    f.sounds.playIndex(0);
    QCOMPARE(f.log, (QStringList{"0 source 00.mp3", "0 play"}));
}

void TstSounds::sameEffectRestarts()
{
    Fixture f;
    f.sounds.playIndex(4);
    f.sounds.playIndex(4);
    // The same player each time, cleared before it starts again: no second copy overlaps.
    QCOMPARE(f.log, (QStringList{"4 clear", "4 source 04.wav", "4 play", "4 clear",
                                 "4 source 04.wav", "4 play"}));
}

void TstSounds::endOfSound_data()
{
    QTest::addColumn<int>("player");
    QTest::addColumn<bool>("restartsTune");
    QTest::newRow("background tune loops") << 0 << true;
    QTest::newRow("start animation leads into the tune") << 1 << true;
    QTest::newRow("effect 2") << 2 << false;
    QTest::newRow("effect 3") << 3 << false;
    QTest::newRow("effect 4") << 4 << false;
}

void TstSounds::endOfSound()
{
    QFETCH(int, player);
    QFETCH(bool, restartsTune);
    Fixture f;
    f.sounds.setEnabled(false); // the loop runs whatever the switch says
    f.players[player]->reportEnd();
    QCoreApplication::processEvents();
    const QStringList tune{"0 source 00.mp3", "0 play"};
    QCOMPARE(f.log, restartsTune ? tune : QStringList());
}

void TstSounds::clearAllEndsTheLoop()
{
    Fixture f;
    f.sounds.clearAll();
    QCOMPARE(f.log, (QStringList{"0 clear", "1 clear", "2 clear", "3 clear", "4 clear"}));
    f.log.clear();
    // An end reported just before the players were cleared must not bring the tune back.
    f.players[0]->reportEnd();
    f.players[1]->reportEnd();
    f.sounds.clearAll();
    f.log.clear();
    QCoreApplication::processEvents();
    QCOMPARE(f.log, QStringList{});
}

void TstSounds::playerReportingEndInsidePlayDoesNotRecurse()
{
    // A broken file that some media back ends end at once, from inside play().
    class InstantEnd : public SoundPlayer
    {
    public:
        using SoundPlayer::SoundPlayer;
        void setSource(const QUrl&) override {}
        void play() override
        {
            ++plays;
            emit finished();
        }
        void clear() override {}
        int plays = 0;
    };
    InstantEnd* background = nullptr;
    SoundEffects sounds("/media-test", nullptr, [&background](QObject* parent) -> SoundPlayer* {
        auto* p = new InstantEnd(parent);
        if (!background)
            background = p;
        return p;
    });
    sounds.playBackground();
    QCOMPARE(background->plays, 1); // returned instead of recursing
    for (int i = 0; i < 100; ++i)
        QCoreApplication::processEvents();
    QVERIFY(background->plays > 1); // the loop still runs, one event at a time
    sounds.clearAll();
    const int plays = background->plays;
    QCoreApplication::processEvents();
    QCOMPARE(background->plays, plays);
}

void TstSounds::soundFiles()
{
    SoundEffects sounds("./modules/media", nullptr, [](QObject* parent) -> SoundPlayer* {
        return new MediaSoundPlayer(parent);
    });
    // Resolved against the current directory, as the program's relative folder is.
    QCOMPARE(sounds.soundFile(0), QDir::current().absoluteFilePath("modules/media/00.mp3"));
    QCOMPARE(sounds.soundFile(4), QDir::current().absoluteFilePath("modules/media/04.wav"));
    const QString source = qEnvironmentVariable("Q7_SOURCE_DIR");
    if (source.isEmpty())
        return;
    // The shipped sounds exist and are small enough to play on every click.
    for (const char* name : {"00.mp3", "01.wav", "02.wav", "03.wav", "04.wav"}) {
        QFile file(source + "/modules/media/" + name);
        QVERIFY2(file.exists(), name);
        QVERIFY2(file.size() > 1000 && file.size() < 512 * 1024, name);
    }
}

void TstSounds::realPlayersWithoutAudioDevice()
{
    // CI has no audio device: the media players may report errors, but nothing may crash
    // or block. Every call returns at once.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = qEnvironmentVariable("Q7_SOURCE_DIR");
    const QString media =
        source.isEmpty() ? QStringLiteral("./modules/media") : source + "/modules/media";
    SoundEffects sounds(media);
    SoundEffects missing(dir.path()); // no files at all
    QElapsedTimer t;
    t.start();
    for (int i = 0; i <= 5; ++i) {
        sounds.playIndex(i);
        missing.playIndex(i);
    }
    sounds.playIndex(4);
    QTest::qWait(300);
    sounds.clearAll();
    missing.clearAll();
    QTest::qWait(100);
    QVERIFY2(t.elapsed() < 10000, "a sound call blocked");
}

QTEST_MAIN(TstSounds)
#include "tst_sounds.moc"
