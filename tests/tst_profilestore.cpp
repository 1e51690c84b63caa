#include "profilestore.h"
#include "storefixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <climits>
#include <sys/stat.h>

namespace
{

// A complete default profile: every mouse key, each list at its length.
const QByteArray kDefaults = "[keydefine_Q7]\n"
                             "0=1, 0, 240, 0\n1=1, 0, 241, 0\n2=1, 0, 242, 0\n3=1, 0, 244, 0\n"
                             "4=1, 0, 243, 0\n5=7, 0, 3, 0\n6=11, 0, 0, 0\n7=7, 0, 3, 0\n"
                             "8=5, 0, 3, 0\n9=3, 0, 138, 1\n10=3, 0, 35, 2\n11=3, 0, 148, 1\n"
                             "12=0, 0, 0, 0\n13=0, 0, 0, 0\n14=4, 0, 1, 0\n15=4, 0, 2, 0\n"
                             "scrollswap=false\n"
                             "[sensor]\n"
                             "reportRate_Q7=1\ncursorSpeed_Q7=6\nverticalScrollLines_Q7=3\n"
                             "doubleClickSpeed_Q7=4\ndpi_Q7=500, 1000, 1500, 2000, 0, 0, 0, 0\n"
                             "stage_Q7=3\n"
                             "[color_Q7]\n"
                             "type0=1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, "
                             "19, 20, 21, 22, 23, 24\n"
                             "type1=31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, "
                             "46, 47, 48, 49, 50, 51, 52, 53, 54\n"
                             "type2=0, 1, 2, 3, 4, 5, 6, 7\n"
                             "ledEffect=9, 6, 5\n";

// Slot i's own file content: its index as the current stage, so slots tell apart.
QByteArray slotText(int i)
{
    return "[sensor]\nstage_Q7=" + QByteArray::number(i + 1) + "\n";
}

// A valid profile file of exactly `size` bytes: comment lines pad it out.
QByteArray profileOfSize(qint64 size)
{
    QByteArray text = "[sensor]\nstage_Q7=7\n";
    while (text.size() < size) {
        const qint64 left = size - text.size();
        QByteArray line = ";" + QByteArray(int(qMin<qint64>(left, 200)) - 1, 'x');
        if (line.size() > 1)
            line[line.size() - 1] = '\n';
        text += line;
    }
    return text;
}

} // namespace

class TstProfileStore : public QObject, public StoreFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void defaultPage_data();
    void defaultPage();
    void defaultPageWithoutKeys_data();
    void defaultPageWithoutKeys();
    void importIntoCurrentSlot();
    void importWinsOverPendingChanges();
    void cancelledDialogsChangeNothing_data();
    void cancelledDialogsChangeNothing();
    void failedImportKeepsSlot_data();
    void failedImportKeepsSlot();
    void importSizeLimit_data();
    void importSizeLimit();
    void exportCopiesSlot();
    void exportReplacesExistingFile();
    void exportFailureWarns();
    void reset();
    void resetWithoutDefaultKeepsSlot();
    void replacedSlotIsSeenAsChanged();
    void outOfRangeIndexes_data();
    void outOfRangeIndexes();
    void keydefine_data();
    void keydefine();
    void syncFWKeyboard();
    void syncFWMouseTouchesNothing();
    void shippedProfiles_data();
    void shippedProfiles();

private:
    QString folder() const { return m_dir->path() + "/setting"; }
    QString slotPath(int i) const { return folder() + "/p" + QString::number(i + 1) + ".bin"; }
    QString defaultPath() const { return folder() + "/pD.bin"; }
    QString outside(const QString& name) const { return m_dir->path() + "/" + name; }
};

void TstProfileStore::init()
{
    QVERIFY(setUpFolder({"setting"}));
    QVERIFY(writeText(defaultPath(), kDefaults));
    for (int i = 0; i < ProfileStore::kSlots; ++i)
        QVERIFY(writeText(slotPath(i), slotText(i)));
}

void TstProfileStore::cleanup()
{
    tearDownDialogs();
}

void TstProfileStore::defaultPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("count");
    // Positions the pages read by index, with the value they must find there.
    QTest::addColumn<QVariantMap>("at");

    QTest::newRow("0 buttons") << 0 << 64
                               << QVariantMap{{"0", "1"},  {"2", "240"}, {"20", "7"}, {"22", "3"},
                                              {"39", "1"}, {"58", "1"},  {"63", "0"}};
    QTest::newRow("1 none") << 1 << 0 << QVariantMap{};
    QTest::newRow("2 lighting")
        << 2 << 27 << QVariantMap{{"0", "1"}, {"23", "24"}, {"24", "9"}, {"25", "6"}, {"26", "5"}};
    QTest::newRow("3 sensor") << 3 << 45
                              << QVariantMap{{"0", 1},     {"1", 6},      {"2", 3},    {"3", 4},
                                             {"4", "500"}, {"7", "2000"}, {"11", "0"}, {"12", 3},
                                             {"13", "31"}, {"36", "54"},  {"37", "0"}, {"44", "7"}};
    QTest::newRow("7 none") << 7 << 0 << QVariantMap{};
    QTest::newRow("255 none") << 255 << 0 << QVariantMap{};
}

void TstProfileStore::defaultPage()
{
    QFETCH(int, page);
    QFETCH(int, count);
    QFETCH(QVariantMap, at);
    ProfileStore store(folder());
    const QVariantList list = store.loadDefaultProfile(uchar(page));
    QCOMPARE(list.size(), count);
    for (auto it = at.cbegin(); it != at.cend(); ++it) {
        const QVariant got = list.at(it.key().toInt());
        // Scalars come back as integers, list elements as the file's strings.
        QCOMPARE(got.userType(), it.value().userType());
        QCOMPARE(got, it.value());
    }
}

void TstProfileStore::defaultPageWithoutKeys_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("present");
    QTest::newRow("no sensor keys") << QByteArray("[keydefine_Q7]\n0=1, 0, 240, 0\n") << true;
    QTest::newRow("no default profile") << QByteArray() << false;
}

void TstProfileStore::defaultPageWithoutKeys()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, present);
    if (present)
        QVERIFY(writeText(defaultPath(), file));
    else
        QVERIFY(QFile::remove(defaultPath()));
    ProfileStore store(folder());
    QCOMPARE(store.loadDefaultProfile(3), (QVariantList{2, 5, 2, 5, 2}));
    QCOMPARE(store.loadDefaultProfile(2), QVariantList{});
}

void TstProfileStore::importIntoCurrentSlot()
{
    ProfileStore store(folder());
    QVERIFY(store.setCurrentProfile(4));
    QCOMPARE(store.value("sensor/stage_Q7").toInt(), 5);
    QSignalSpy replaced(&store, &ProfileStore::slotReplaced);

    const QByteArray imported = "[sensor]\nstage_Q7=8\ndpi_Q7=400, 800, 0, 0, 0, 0, 0, 0\n";
    QVERIFY(writeText(outside("mine.pf"), imported));
    m_dialogs.nextOpen = outside("mine.pf");
    QVERIFY(store.importProfile(4, nullptr));

    QCOMPARE(m_dialogs.lastCaption, QStringLiteral("Open File"));
    QCOMPARE(m_dialogs.lastFilter, QStringLiteral("Profile(*.pf)"));
    QCOMPARE(replaced.count(), 1);
    QCOMPARE(replaced.at(0).at(0).toInt(), 4);
    QCOMPARE(store.value("sensor/stage_Q7").toInt(), 8);
    QCOMPARE(store.value("sensor/dpi_Q7").toStringList().size(), 8);
    QCOMPARE(readAll(slotPath(4)), imported);
    QCOMPARE(m_dialogs.warnings, 0);
    // The other nine keep their files, values and places.
    QCOMPARE(store.profileSettings().size(), ProfileStore::kSlots);
    for (int i = 0; i < ProfileStore::kSlots; ++i) {
        QCOMPARE(QFileInfo(store.slot(i)->fileName()).fileName(),
                 QStringLiteral("p%1.bin").arg(i + 1));
        if (i == 4)
            continue;
        QCOMPARE(store.slot(i)->value("sensor/stage_Q7").toInt(), i + 1);
        QCOMPARE(readAll(slotPath(i)), slotText(i));
    }
}

void TstProfileStore::importWinsOverPendingChanges()
{
    const QByteArray imported = "[sensor]\nstage_Q7=8\n";
    QVERIFY(writeText(outside("mine.pf"), imported));
    m_dialogs.nextOpen = outside("mine.pf");
    {
        ProfileStore store(folder());
        store.setValue("sensor/cursorSpeed_Q7", 9); // pending, not yet on disk
        QVERIFY(store.importProfile(0, nullptr));
        QCOMPARE(store.value("sensor/cursorSpeed_Q7"), QVariant());
    }
    // The replaced settings object must not have written its change over the import.
    QCOMPARE(readAll(slotPath(0)), imported);
}

void TstProfileStore::cancelledDialogsChangeNothing_data()
{
    QTest::addColumn<bool>("isImport");
    QTest::newRow("import") << true;
    QTest::newRow("export") << false;
}

void TstProfileStore::cancelledDialogsChangeNothing()
{
    QFETCH(bool, isImport);
    ProfileStore store(folder());
    QSettings* before = store.slot(2);
    const QStringList filesBefore = QDir(m_dir->path()).entryList(QDir::Files);
    const bool done = isImport ? store.importProfile(2, nullptr) : store.exportProfile(2, nullptr);

    QVERIFY(!done);
    QCOMPARE(m_dialogs.opens + m_dialogs.saves, 1);
    QCOMPARE(m_dialogs.warnings, 0);
    QCOMPARE(store.slot(2), before);
    QCOMPARE(readAll(slotPath(2)), slotText(2));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), filesBefore);
}

void TstProfileStore::failedImportKeepsSlot_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("languageLoaded");
    QTest::newRow("file vanished") << "vanished.pf" << true;
    QTest::newRow("folder") << "folder.pf" << true;
    // Opening a pipe would wait for a writer that never comes.
    QTest::newRow("pipe") << "pipe.pf" << true;
    QTest::newRow("no language: empty texts") << "vanished.pf" << false;
}

void TstProfileStore::failedImportKeepsSlot()
{
    QFETCH(QString, source);
    QFETCH(bool, languageLoaded);
    QVERIFY(QDir(m_dir->path()).mkdir("folder.pf"));
    QCOMPARE(::mkfifo(QFile::encodeName(outside("pipe.pf")).constData(), 0600), 0);
    ProfileStore store(folder());
    if (languageLoaded)
        store.setMessages([](int i) { return QStringLiteral("msg%1 ").arg(i); });
    m_dialogs.nextOpen = outside(source);

    QVERIFY(!store.importProfile(0, nullptr));
    QCOMPARE(readAll(slotPath(0)), slotText(0));
    QCOMPARE(store.value("sensor/stage_Q7").toInt(), 1);
    QCOMPARE(m_dialogs.warnings, 1);
    const QString title = languageLoaded ? QStringLiteral("msg2 ") : QString();
    const QString prefix = languageLoaded ? QStringLiteral("msg3 ") : QString();
    QCOMPARE(m_dialogs.lastTitle, title);
    QCOMPARE(m_dialogs.lastText, prefix + outside(source));
    // No temporary copy is left beside the slot.
    QCOMPARE(QDir(folder()).entryList(QDir::Files).size(), ProfileStore::kSlots + 1);
}

void TstProfileStore::importSizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("at the limit") << ProfileStore::kMaxImportSize << true;
    QTest::newRow("one byte over") << ProfileStore::kMaxImportSize + 1 << false;
    QTest::newRow("far over") << 8 * ProfileStore::kMaxImportSize << false;
}

void TstProfileStore::importSizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, accepted);
    const QByteArray text = profileOfSize(size);
    QCOMPARE(qint64(text.size()), size);
    QVERIFY(writeText(outside("big.pf"), text));
    ProfileStore store(folder());
    m_dialogs.nextOpen = outside("big.pf");

    QCOMPARE(store.importProfile(0, nullptr), accepted);
    QCOMPARE(m_dialogs.warnings, accepted ? 0 : 1);
    QCOMPARE(store.value("sensor/stage_Q7").toInt(), accepted ? 7 : 1);
    QCOMPARE(QFileInfo(slotPath(0)).size(), accepted ? size : qint64(slotText(0).size()));
}

void TstProfileStore::exportCopiesSlot()
{
    ProfileStore store(folder());
    QVERIFY(store.setCurrentProfile(3));
    store.setValue("sensor/cursorSpeed_Q7", 7); // pending: the export still carries it
    m_dialogs.nextSave = outside("out.pf");

    QVERIFY(store.exportProfile(3, nullptr));
    QCOMPARE(m_dialogs.lastCaption, QStringLiteral("Save File"));
    QCOMPARE(m_dialogs.lastFilter, QStringLiteral("Profile(*.pf)"));
    QCOMPARE(readAll(outside("out.pf")), readAll(slotPath(3)));
    QSettings exported(outside("out.pf"), QSettings::IniFormat);
    QCOMPARE(exported.value("sensor/cursorSpeed_Q7").toInt(), 7);
    QCOMPARE(exported.value("sensor/stage_Q7").toInt(), 4);
}

void TstProfileStore::exportReplacesExistingFile()
{
    QVERIFY(writeText(outside("out.pf"), QByteArray(5000, 'z')));
    ProfileStore store(folder());
    m_dialogs.nextSave = outside("out.pf");
    QVERIFY(store.exportProfile(6, nullptr));
    QCOMPARE(readAll(outside("out.pf")), slotText(6));
}

void TstProfileStore::exportFailureWarns()
{
    QVERIFY(writeText(outside("keep.pf"), "old"));
    ProfileStore store(folder());
    // A folder that does not exist cannot take the file.
    m_dialogs.nextSave = outside("nowhere/out.pf");
    QVERIFY(!store.exportProfile(0, nullptr));
    QCOMPARE(m_dialogs.warnings, 1);
    QVERIFY(m_dialogs.lastText.endsWith(outside("nowhere/out.pf")));
}

void TstProfileStore::reset()
{
    ProfileStore store(folder());
    QVERIFY(store.setCurrentProfile(9));
    store.setValue("sensor/cursorSpeed_Q7", 1);
    QVERIFY(store.resetProfile(9));
    QCOMPARE(readAll(slotPath(9)), kDefaults);
    QCOMPARE(store.value("sensor/stage_Q7").toInt(), 3);
    QCOMPARE(store.value("sensor/cursorSpeed_Q7").toInt(), 6);
    QCOMPARE(readAll(defaultPath()), kDefaults);
    QCOMPARE(readAll(slotPath(8)), slotText(8));
}

void TstProfileStore::resetWithoutDefaultKeepsSlot()
{
    QVERIFY(QFile::remove(defaultPath()));
    ProfileStore store(folder());
    QSettings* before = store.slot(1);
    QVERIFY(!store.resetProfile(1));
    QCOMPARE(store.slot(1), before);
    QCOMPARE(readAll(slotPath(1)), slotText(1));
    QCOMPARE(store.slot(1)->value("sensor/stage_Q7").toInt(), 2);
}

void TstProfileStore::replacedSlotIsSeenAsChanged()
{
    // The settings library re-reads a cached file only when its time or size changed. A
    // slot file stamped later than the clock (or written in the same millisecond) must
    // still be seen as replaced, so the replacement is stamped after it.
    const QByteArray sameSize = "[sensor]\nstage_Q7=8\n";
    QCOMPARE(sameSize.size(), slotText(0).size());
    QVERIFY(writeText(outside("mine.pf"), sameSize));
    const QDateTime future = QDateTime::currentDateTime().addSecs(3600);
    {
        QFile f(slotPath(0));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.setFileTime(future, QFileDevice::FileModificationTime));
    }
    ProfileStore store(folder());
    QCOMPARE(store.value("sensor/stage_Q7").toInt(), 1);
    m_dialogs.nextOpen = outside("mine.pf");
    QVERIFY(store.importProfile(0, nullptr));
    QVERIFY(QFileInfo(slotPath(0)).lastModified() > future);
    QCOMPARE(store.value("sensor/stage_Q7").toInt(), 8);
}

void TstProfileStore::outOfRangeIndexes_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("10") << 10;
    QTest::newRow("INT_MAX") << INT_MAX;
    QTest::newRow("INT_MIN") << INT_MIN;
}

void TstProfileStore::outOfRangeIndexes()
{
    QFETCH(int, index);
    QVERIFY(writeText(outside("mine.pf"), "[sensor]\nstage_Q7=8\n"));
    m_dialogs.nextOpen = outside("mine.pf");
    m_dialogs.nextSave = outside("out.pf");
    ProfileStore store(folder());
    QVERIFY(store.setCurrentProfile(2));

    QVERIFY(!store.setCurrentProfile(index));
    QCOMPARE(store.currentProfile(), 2);
    QVERIFY(!store.importProfile(index, nullptr));
    QVERIFY(!store.exportProfile(index, nullptr));
    QVERIFY(!store.resetProfile(index));
    QCOMPARE(store.slot(index), nullptr);
    QCOMPARE(store.slotFilePath(index), QString());

    QCOMPARE(m_dialogs.opens + m_dialogs.saves, 0);
    QVERIFY(!QFile::exists(outside("out.pf")));
    for (int i = 0; i < ProfileStore::kSlots; ++i)
        QCOMPARE(readAll(slotPath(i)), slotText(i));
}

void TstProfileStore::keydefine_data()
{
    QTest::addColumn<uint>("device");
    QTest::addColumn<QVariant>("id");
    QTest::addColumn<QVariantList>("expected");
    const QVariantList mouse5{"7", "0", "3", "0"};
    const QVariantList keyboard5{"0", "0", "4", "0"};
    QTest::newRow("mouse from file") << 1u << QVariant(5) << mouse5;
    QTest::newRow("mouse, id as text") << 1u << QVariant("5") << mouse5;
    QTest::newRow("mouse, id as a script number") << 1u << QVariant(5.0) << mouse5;
    QTest::newRow("keyboard") << 0u << QVariant(5) << keyboard5;
    QTest::newRow("written this run, as strings")
        << 1u << QVariant(6) << QVariantList{"9", "1", "2", "0"};
    QTest::newRow("missing") << 1u << QVariant(15) << QVariantList{};
    QTest::newRow("other device") << 2u << QVariant(5) << QVariantList{};
}

void TstProfileStore::keydefine()
{
    QFETCH(uint, device);
    QFETCH(QVariant, id);
    QFETCH(QVariantList, expected);
    QVERIFY(writeText(slotPath(0), "[keydefine_Q7]\n5=7, 0, 3, 0\n[keydefine]\n5=0, 0, 4, 0\n"));
    ProfileStore store(folder());
    store.setValue("keydefine_Q7/6", QVariantList{9, 1, 2, 0});
    QCOMPARE(store.keydefine(id, device), expected);
}

void TstProfileStore::syncFWKeyboard()
{
    ProfileStore store(folder());
    QVERIFY(store.setCurrentProfile(1));
    QList<int> asked;
    store.syncFW(0, [&asked](uchar index, uchar* buffer) {
        asked.append(index);
        // Picture 2 fails to read and leaves the buffer as it got it.
        if (index != 2)
            std::fill(buffer, buffer + 512, uchar(0x10 + index));
    });

    QCOMPARE(asked, (QList<int>{0, 1, 2, 3, 4}));
    for (int index = 0; index < 5; ++index) {
        const QVariantList picture = store.value("userPicture/" + QString::number(index)).toList();
        QCOMPARE(picture.size(), 512);
        const int expected = index == 2 ? 0 : 0x10 + index;
        QCOMPARE(picture.first().toInt(), expected);
        QCOMPARE(picture.last().toInt(), expected);
    }
    QVERIFY(!store.slot(0)->contains("userPicture/0"));
}

void TstProfileStore::syncFWMouseTouchesNothing()
{
    {
        ProfileStore store(folder());
        int reads = 0;
        store.syncFW(1, [&reads](uchar, uchar*) { ++reads; });
        QCOMPARE(reads, 0);
        QVERIFY(!store.current()->contains("userPicture/0"));
    }
    for (int i = 0; i < ProfileStore::kSlots; ++i)
        QCOMPARE(readAll(slotPath(i)), slotText(i));
}

void TstProfileStore::shippedProfiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("pD.bin") << "pD.bin";
    for (int k = 1; k <= ProfileStore::kSlots; ++k) {
        const QString name = QStringLiteral("p%1.bin").arg(k);
        QTest::newRow(qPrintable(name)) << name;
    }
}

void TstProfileStore::shippedProfiles()
{
    QFETCH(QString, file);
    const QString source = qEnvironmentVariable("Q7_SOURCE_DIR");
    if (source.isEmpty())
        QSKIP("Q7_SOURCE_DIR is not set");
    const QString path = source + "/modules/setting/" + file;
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const QSettings s(path, QSettings::IniFormat);

    QHash<QString, int> lists;
    for (int n = 0; n < 16; ++n)
        lists.insert("keydefine_Q7/" + QString::number(n), 4);
    lists.insert("sensor/dpi_Q7", 8);
    lists.insert("color_Q7/type0", 24);
    lists.insert("color_Q7/type1", 24);
    lists.insert("color_Q7/type2", 8);
    lists.insert("color_Q7/ledEffect", 3);
    for (auto it = lists.cbegin(); it != lists.cend(); ++it) {
        const QStringList list = s.value(it.key()).toStringList();
        QVERIFY2(list.size() == it.value(), qPrintable(it.key()));
        for (const QString& e : list) {
            bool ok = false;
            const int v = e.toInt(&ok);
            QVERIFY2(ok && v >= 0 && v <= 10000, qPrintable(it.key() + "=" + e));
        }
    }
    const QHash<QString, QPair<int, int>> scalars{{"sensor/reportRate_Q7", {1, 8}},
                                                  {"sensor/cursorSpeed_Q7", {0, 10}},
                                                  {"sensor/verticalScrollLines_Q7", {0, 10}},
                                                  {"sensor/doubleClickSpeed_Q7", {0, 10}},
                                                  {"sensor/stage_Q7", {1, 8}}};
    for (auto it = scalars.cbegin(); it != scalars.cend(); ++it) {
        bool ok = false;
        const int v = s.value(it.key()).toInt(&ok);
        QVERIFY2(ok && v >= it.value().first && v <= it.value().second, qPrintable(it.key()));
    }
    QVERIFY(s.contains("keydefine_Q7/scrollswap"));
    // The stage in use must be one that is switched on.
    const QStringList dpi = s.value("sensor/dpi_Q7").toStringList();
    QVERIFY(dpi.value(s.value("sensor/stage_Q7").toInt() - 1).toInt() > 0);

    // Read through the store, the pages get their full lists.
    QTemporaryDir copy;
    QVERIFY(QFile::copy(path, copy.path() + "/pD.bin"));
    ProfileStore store(copy.path());
    QCOMPARE(store.loadDefaultProfile(0).size(), 64);
    QCOMPARE(store.loadDefaultProfile(2).size(), 27);
    QCOMPARE(store.loadDefaultProfile(3).size(), 45);
}

QTEST_MAIN(TstProfileStore)
#include "tst_profilestore.moc"
