#include "apconfigstore.h"
#include "storefixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// A 32-entry list as the global settings page builds it.
QVariantList pageList()
{
    QVariantList list{1, 2, 1, 0, 3, true, QStringLiteral("file:/home/user/pic.png"), 1};
    for (int i = 0; i < 21; ++i)
        list.append(i * 12);
    list << 4 << 6 << QStringLiteral("https://example.com/page");
    return list;
}

} // namespace

class TstApConfig : public QObject, public StoreFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void load_data();
    void load();
    void saveThenLoadKeepsValues();
    void restartReadsStrings();
    void shorterListLeavesOldEntriesUnread();
    void loadDevice_data();
    void loadDevice();
    void reset();
    void resetDiscardsPendingChanges();
    void resetFailureKeepsOld_data();
    void resetFailureKeepsOld();
    void skinShow_data();
    void skinShow();
    void customFilePath();
    void customFilePathCancelled();
    void customFilePathUnreadable_data();
    void customFilePathUnreadable();
    void windowTitle();
    void shippedConfiguration_data();
    void shippedConfiguration();

private:
    QString settingDir() const { return m_dir->path() + "/setting"; }
    QString imageDir() const { return m_dir->path() + "/img"; }
    QString configPath() const { return settingDir() + "/apConfig.bin"; }
    QString factoryPath() const { return settingDir() + "/apConfigD.bin"; }
};

void TstApConfig::init()
{
    QVERIFY(setUpFolder({"setting", "img"}));
}

void TstApConfig::cleanup()
{
    tearDownDialogs();
}

void TstApConfig::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QVariantList>("expected");

    QTest::newRow("missing entries read as 0")
        << QByteArray("[common]\ntotal=3\n0=7\n") << QVariantList{QStringLiteral("7"), 0, 0};
    QTest::newRow("no total") << QByteArray("[common]\n0=7\n") << QVariantList{};
    QTest::newRow("empty file") << QByteArray() << QVariantList{};
    QTest::newRow("negative total") << QByteArray("[common]\ntotal=-4\n0=7\n") << QVariantList{};
    QTest::newRow("text total") << QByteArray("[common]\ntotal=abc\n0=7\n") << QVariantList{};
}

void TstApConfig::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QVariantList, expected);
    QVERIFY(writeText(configPath(), file));
    ApConfigStore store(settingDir(), imageDir());
    QCOMPARE(store.load(), expected);
}

void TstApConfig::saveThenLoadKeepsValues()
{
    ApConfigStore store(settingDir(), imageDir());
    store.save(pageList());
    QCOMPARE(store.load(), pageList());
}

void TstApConfig::restartReadsStrings()
{
    {
        ApConfigStore store(settingDir(), imageDir());
        store.save(pageList());
    }
    // The settings library caches parsed files per path within one process; a fresh folder
    // holding the written bytes is what the next start of the program reads.
    QTemporaryDir next;
    QVERIFY(next.isValid());
    QVERIFY(QFile::copy(configPath(), next.path() + "/apConfig.bin"));
    ApConfigStore restarted(next.path(), imageDir());

    const QVariantList loaded = restarted.load();
    const QVariantList saved = pageList();
    QCOMPARE(loaded.size(), 32);
    for (int i = 0; i < saved.size(); ++i) {
        QCOMPARE(loaded.at(i).userType(), int(QMetaType::QString));
        QCOMPARE(loaded.at(i).toString(), saved.at(i).toString());
    }
}

void TstApConfig::shorterListLeavesOldEntriesUnread()
{
    ApConfigStore store(settingDir(), imageDir());
    store.save(pageList());
    store.save({5, 6});
    QCOMPARE(store.load(), (QVariantList{5, 6}));
}

void TstApConfig::loadDevice_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QVariantList>("expected");
    QTest::newRow("missing key") << QByteArray("[common]\nname=x\n") << QVariantList{8};
    QTest::newRow("stored") << QByteArray("[Q7]\ncolorMaxStage=4\n") << QVariantList{4};
}

void TstApConfig::loadDevice()
{
    QFETCH(QByteArray, file);
    QFETCH(QVariantList, expected);
    QVERIFY(writeText(configPath(), file));
    ApConfigStore store(settingDir(), imageDir());
    QCOMPARE(store.loadDevice(), expected);
}

void TstApConfig::reset()
{
    const QByteArray factory("[common]\ntotal=2\n0=1\n1=9\n");
    QVERIFY(writeText(factoryPath(), factory));
    ApConfigStore store(settingDir(), imageDir());
    store.save(pageList());
    QSignalSpy reopened(&store, &ApConfigStore::reopened);

    QVERIFY(store.reset());
    QCOMPARE(reopened.count(), 1);
    QCOMPARE(store.load(), (QVariantList{QStringLiteral("1"), QStringLiteral("9")}));
    QCOMPARE(readAll(configPath()), factory);
    QCOMPARE(readAll(factoryPath()), factory);
}

void TstApConfig::resetDiscardsPendingChanges()
{
    const QByteArray factory("[common]\ntotal=1\n0=1\n");
    QVERIFY(writeText(factoryPath(), factory));
    {
        ApConfigStore store(settingDir(), imageDir());
        store.save(pageList()); // not yet on disk
        QVERIFY(store.reset());
    }
    // Neither the replaced settings object nor the store's end may write the old list back.
    QCOMPARE(readAll(configPath()), factory);
}

void TstApConfig::resetFailureKeepsOld_data()
{
    QTest::addColumn<bool>("factoryIsFolder");
    QTest::newRow("no factory copy") << false;
    QTest::newRow("factory copy unreadable") << true;
}

void TstApConfig::resetFailureKeepsOld()
{
    QFETCH(bool, factoryIsFolder);
    if (factoryIsFolder)
        QVERIFY(QDir().mkpath(factoryPath()));
    const QByteArray old("[common]\ntotal=1\n0=42\n");
    QVERIFY(writeText(configPath(), old));
    ApConfigStore store(settingDir(), imageDir());
    QSettings* before = store.settings();

    QVERIFY(!store.reset());
    QCOMPARE(store.settings(), before);
    QCOMPARE(store.load(), QVariantList{QStringLiteral("42")});
    QCOMPARE(readAll(configPath()), old);
}

void TstApConfig::skinShow_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("expected");
    QTest::newRow("none") << QStringList{} << QStringList{} << false;
    QTest::newRow("one skin") << QStringList{"skin1"} << QStringList{} << false;
    QTest::newRow("two skins") << QStringList{"skin1", "skin2"} << QStringList{} << true;
    QTest::newRow("plain files do not count")
        << QStringList{"skin1"} << QStringList{"skin2", "readme.txt"} << false;
}

void TstApConfig::skinShow()
{
    QFETCH(QStringList, folders);
    QFETCH(QStringList, files);
    QFETCH(bool, expected);
    for (const QString& f : folders)
        QVERIFY(QDir(imageDir()).mkdir(f));
    for (const QString& f : files)
        QVERIFY(writeText(imageDir() + "/" + f, "x"));
    ApConfigStore store(settingDir(), imageDir());
    QCOMPARE(store.isSkinShow(), expected);
}

void TstApConfig::customFilePath()
{
    const QString picture = m_dir->path() + "/back.png";
    QVERIFY(writeText(picture, "png"));
    m_dialogs.nextOpen = picture;
    ApConfigStore store(settingDir(), imageDir());
    QCOMPARE(store.customFilePath(nullptr), picture);
    QCOMPARE(m_dialogs.lastCaption, QStringLiteral("Open File"));
    QCOMPARE(m_dialogs.lastFilter, QStringLiteral("Image Files(*.png)"));
    QCOMPARE(m_dialogs.warnings, 0);
}

void TstApConfig::customFilePathCancelled()
{
    m_dialogs.nextOpen.clear();
    ApConfigStore store(settingDir(), imageDir());
    QCOMPARE(store.customFilePath(nullptr), QString());
    QCOMPARE(m_dialogs.opens, 1);
    QCOMPARE(m_dialogs.warnings, 0);
}

void TstApConfig::customFilePathUnreadable_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("textPrefix");
    QTest::newRow("language loaded")
        << QStringList{"m0", "m1", "Picture", "Cannot open: "} << "Picture"
        << "Cannot open: ";
    // Before any language is loaded the texts are empty: the box shows just the path.
    QTest::newRow("no language") << QStringList{} << ""
                                 << "";
    QTest::newRow("language without messages") << QStringList{"m0"} << ""
                                               << "";
}

void TstApConfig::customFilePathUnreadable()
{
    QFETCH(QStringList, messages);
    QFETCH(QString, title);
    QFETCH(QString, textPrefix);
    const QString missing = m_dir->path() + "/gone.png";
    m_dialogs.nextOpen = missing;
    ApConfigStore store(settingDir(), imageDir());
    store.setMessages([messages](int i) { return messages.value(i); });

    QCOMPARE(store.customFilePath(nullptr), QString());
    QCOMPARE(m_dialogs.warnings, 1);
    QCOMPARE(m_dialogs.lastTitle, title);
    QCOMPARE(m_dialogs.lastText, textPrefix + missing);
}

void TstApConfig::windowTitle()
{
    QVERIFY(writeText(configPath(), "[common]\nname=My Title\n"));
    ApConfigStore store(settingDir(), imageDir());
    QCOMPARE(store.windowTitle(), QStringLiteral("My Title"));

    QTemporaryDir empty;
    ApConfigStore none(empty.path(), imageDir());
    QCOMPARE(none.windowTitle(), QString());
}

void TstApConfig::shippedConfiguration_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("apConfig.bin") << "apConfig.bin";
    QTest::newRow("apConfigD.bin") << "apConfigD.bin";
}

void TstApConfig::shippedConfiguration()
{
    QFETCH(QString, file);
    const QString source = qEnvironmentVariable("Q7_SOURCE_DIR");
    if (source.isEmpty())
        QSKIP("Q7_SOURCE_DIR is not set");
    // Read through a store on a private copy, as the program reads it.
    QVERIFY(QFile::copy(source + "/modules/setting/" + file, configPath()));
    ApConfigStore store(settingDir(), imageDir());

    const QVariantList list = store.load();
    QCOMPARE(list.size(), 32);
    QCOMPARE(list.at(0).toInt(), 1);
    QVERIFY(list.at(1).toInt() >= 1);
    for (int i = 8; i <= 28; ++i) {
        bool ok = false;
        const int c = list.at(i).toInt(&ok);
        QVERIFY2(ok && c >= 0 && c <= 255, qPrintable(QString::number(i)));
    }
    QVERIFY(list.at(29).toInt() >= 0 && list.at(29).toInt() <= 6);
    QVERIFY(list.at(30).toInt() >= 0 && list.at(30).toInt() <= 7);
    QVERIFY(!list.at(31).toString().isEmpty());

    QVERIFY(!store.windowTitle().isEmpty());
    QCOMPARE(store.loadDevice(), QVariantList{8});
    QSettings* s = store.settings();
    QCOMPARE(s->value("common/product_name").toStringList().size(), 2);
    QCOMPARE(s->value("common/sCode0").toString(), QStringLiteral("284613"));
    QCOMPARE(s->value("common/sCode1").toString(), QStringLiteral("284613"));
}

QTEST_MAIN(TstApConfig)
#include "tst_apconfig.moc"
