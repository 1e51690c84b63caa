#include "hid_thread.h"
#include "hidbackend.h"
#include "languagechecksum.h"
#include "localization.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// Writes a language file the way a translator's tool would: through QSettings in UTF-8.
void writeLanguageFile(const QString& path, const QVariantMap& values)
{
    QSettings file(path, QSettings::IniFormat);
    file.setIniCodec("UTF-8");
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        file.setValue(it.key(), it.value());
    file.sync();
    QCOMPARE(file.status(), QSettings::NoError);
}

// A complete small language: two texts, six messages, three slot names, a right check value.
QVariantMap goodLanguage(const QString& tag)
{
    QVariantMap v;
    v["font/family"] = "Font " + tag;
    v["font/total"] = 2;
    v["strings/1"] = "ONE " + tag;
    v["strings/2"] = "TWO " + tag;
    const quint32 r = quint32(("ONE " + tag).size() + ("TWO " + tag).size());
    v["font/cs"] = LanguageChecksum::fromSum(r);
    for (int i = 0; i < 6; ++i)
        v[QString("msg/%1").arg(i)] = QString("%1 message %2").arg(tag).arg(i);
    v["Q7_5B7E20D/0"] = tag + " left";
    v["Q7_5B7E20D/1"] = tag + " right";
    v["Q7_5B7E20D/15"] = tag + " wheel down";
    return v;
}

// Counts what reaches the device; one interface that carries both usage pairs.
class CountingDevice : public HidDevice
{
public:
    explicit CountingDevice(int* features) : m_features(features) {}
    int setBlocking(bool) override { return 0; }
    int sendFeatureReport(const unsigned char*, size_t length) override
    {
        ++*m_features;
        return int(length);
    }
    int getFeatureReport(unsigned char*, size_t length) override { return int(length); }
    int write(const unsigned char*, size_t length) override { return int(length); }
    int readTimeout(unsigned char*, size_t, int) override { return 0; }

private:
    int* m_features;
};

class CountingBackend : public HidBackend
{
public:
    QList<HidInterfaceInfo> enumerate(quint16 vid, quint16 pid) override
    {
        HidInterfaceInfo info;
        info.path = "/dev/fake-q7";
        info.vendorId = vid;
        info.productId = pid;
        info.usagePage = 0xFF01;
        info.usage = 0x01;
        return {info};
    }
    HidDevice* open(const QByteArray&) override
    {
        opens.fetch_add(1);
        return new CountingDevice(&features);
    }
    std::atomic<int> opens{0};
    int features = 0;
};

QStringList blanks(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list.append(QString());
    return list;
}

} // namespace

class TstLocalization : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase() { languageChecksumOk = true; }

    void checksumText_data();
    void checksumText();
    void sumCountsUtf16Units_data();
    void sumCountsUtf16Units();
    void displayName_data();
    void displayName();
    void listsOnlyLoadableFiles();
    void globalStringsLayout();
    void missingFile();
    void messagesFollowLastLanguage();
    void failedChecksumBlocksExchangesUntilGoodFile();
    void invalidCodeTouchesNoFile_data();
    void invalidCodeTouchesNoFile();
    void hugeTotalIsBounded();
    void productLayoutAlwaysSixteen();

private:
    QTemporaryDir m_tmp;
    QString m_folder;
};

void TstLocalization::init()
{
    QVERIFY(m_tmp.isValid());
    // One folder per test and data row: QSettings merges into an existing file, so rows
    // must never see each other's keys.
    m_folder = m_tmp.path() + "/i18n-" + QString::fromLatin1(QTest::currentTestFunction()) + "-" +
               QString::fromUtf8(QTest::currentDataTag()).replace('/', '_');
    QVERIFY(QDir().mkpath(m_folder));
    languageChecksumOk = true;
}

void TstLocalization::checksumText_data()
{
    QTest::addColumn<quint32>("r");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << 0u << "7418700";
    QTest::newRow("100") << 100u << "17431881";
    QTest::newRow("12345") << 12345u << "131244150176";
    // R - 69 is negative below 69: only its low 8 bits count.
    QTest::newRow("below 69") << 1u << "75188700";
}

void TstLocalization::checksumText()
{
    QFETCH(quint32, r);
    QFETCH(QString, text);
    QCOMPARE(LanguageChecksum::fromSum(r), text);
}

void TstLocalization::sumCountsUtf16Units_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<quint32>("r");
    QTest::newRow("ascii") << 2 << QStringList{"AB", "CDE"} << 5u;
    QTest::newRow("cjk, one unit each") << 1 << QStringList{"选项"} << 2u;
    QTest::newRow("umlauts") << 1 << QStringList{"GRÖSSE"} << 6u;
    QTest::newRow("outside the BMP, two units")
        << 1 << QStringList{QString::fromUtf8("\xF0\x9F\x98\x80")} << 2u;
    QTest::newRow("missing texts count 0") << 3 << QStringList{"ABCD"} << 4u;
    QTest::newRow("total 0 reads nothing") << 0 << QStringList{"ABCD"} << 0u;
    QTest::newRow("negative total reads nothing") << -5 << QStringList{"ABCD"} << 0u;
}

void TstLocalization::sumCountsUtf16Units()
{
    QFETCH(int, total);
    QFETCH(QStringList, texts);
    QFETCH(quint32, r);
    QVariantMap v;
    v["font/total"] = total;
    for (int k = 0; k < texts.size(); ++k)
        v[QString("strings/%1").arg(k + 1)] = texts[k];
    v["font/cs"] = LanguageChecksum::fromSum(r);
    writeLanguageFile(m_folder + "/lang_031000.ini", v);

    Localization loc(m_folder);
    const QStringList strings = loc.globalStrings("031000");
    QCOMPARE(strings.size(), 1 + qMax(total, 0));
    QVERIFY(loc.checksumOk());
    QVERIFY(languageChecksumOk.load());
}

void TstLocalization::displayName_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("country");
    QTest::addColumn<QString>("name");
    QTest::newRow("simplified") << 25 << 44 << "CHINESE (Simp)";
    QTest::newRow("traditional") << 25 << 208 << "CHINESE (Trad)";
    QTest::newRow("no country") << 42 << 0 << "GERMAN";
    QTest::newRow("other country") << 37 << 38 << "FRENCH (CANADA)";
    QTest::newRow("country of two words") << 31 << 225 << "ENGLISH (UNITED STATES)";
}

void TstLocalization::displayName()
{
    QFETCH(int, language);
    QFETCH(int, country);
    QFETCH(QString, name);
    QCOMPARE(Localization::displayName(language, country), name);
}

void TstLocalization::listsOnlyLoadableFiles()
{
    for (const char* name :
         {"lang_025208.ini", "lang_025044.ini", "lang_031000.ini", "lang_042082.ini",
          // not six digits: the loader would refuse these codes
          "lang_abcdef.ini", "lang_0310001.ini", "lang_03100.ini", "LANG_037000.INI",
          "lang_037000.ini.bak", "other.ini"})
        writeLanguageFile(m_folder + "/" + name, goodLanguage(name));
    Localization loc(m_folder);
    const QVariantMap list = loc.languages();
    QCOMPARE(list.keys(),
             (QStringList{"CHINESE (Simp)", "CHINESE (Trad)", "ENGLISH", "GERMAN (GERMANY)"}));
    QCOMPARE(list.value("CHINESE (Simp)").toString(), QString("025044"));
    QCOMPARE(list.value("CHINESE (Trad)").toString(), QString("025208"));
    QCOMPARE(list.value("ENGLISH").toString(), QString("031000"));
    QCOMPARE(list.value("GERMAN (GERMANY)").toString(), QString("042082"));
    QVERIFY(Localization(m_folder + "/absent").languages().isEmpty());
}

void TstLocalization::globalStringsLayout()
{
    writeLanguageFile(m_folder + "/lang_031000.ini", goodLanguage("en"));
    Localization loc(m_folder);
    QCOMPARE(loc.globalStrings("031000"), (QStringList{"Font en", "ONE en", "TWO en"}));
    QVERIFY(loc.checksumOk());
    QCOMPARE(loc.msgStrings().size(), 6);
    QCOMPARE(loc.msg(5), QString("en message 5"));
}

void TstLocalization::missingFile()
{
    Localization loc(m_folder);
    QCOMPARE(loc.msg(0), QString()); // before any language: empty, not out of range
    QCOMPARE(loc.globalStrings("031000"), QStringList{QString()});
    QCOMPARE(loc.msgStrings(), blanks(6));
    QVERIFY(!loc.checksumOk());
    QVERIFY(!languageChecksumOk.load());
}

void TstLocalization::messagesFollowLastLanguage()
{
    writeLanguageFile(m_folder + "/lang_031000.ini", goodLanguage("en"));
    writeLanguageFile(m_folder + "/lang_042000.ini", goodLanguage("de"));
    Localization loc(m_folder);
    loc.globalStrings("031000");
    QCOMPARE(loc.msg(1), QString("en message 1"));
    loc.globalStrings("042000");
    QCOMPARE(loc.msg(1), QString("de message 1"));
    // The slot names are a separate read and leave the messages alone.
    loc.productLayoutStrings("031000");
    QCOMPARE(loc.msg(1), QString("de message 1"));
}

void TstLocalization::failedChecksumBlocksExchangesUntilGoodFile()
{
    QVariantMap edited = goodLanguage("en");
    edited["strings/2"] = "TWO en, edited without a new check value";
    writeLanguageFile(m_folder + "/lang_031000.ini", edited);
    QVariantMap unchecked = goodLanguage("de");
    unchecked.remove("font/cs");
    writeLanguageFile(m_folder + "/lang_042000.ini", unchecked);
    writeLanguageFile(m_folder + "/lang_025044.ini", goodLanguage("zh"));

    CountingBackend backend;
    Hid_Thread hid;
    hid.setBackend(&backend);
    hid.setSleeper([](int) {});
    DeviceDescriptor keyboard;
    keyboard.type = 0;
    DeviceDescriptor mouse;
    mouse.type = 1;
    mouse.vid = 0x1234;
    mouse.pid = 0x5678;
    mouse.usagePage = mouse.usagePage2 = 0xFF01;
    mouse.usage = mouse.usage2 = 0x01;
    mouse.reportLength = 32;
    hid.enumerateDevices({keyboard, mouse});
    hid.currentDevice = 1;

    Localization loc(m_folder);
    for (const char* bad : {"031000", "042000"}) {
        const QStringList strings = loc.globalStrings(bad);
        QCOMPARE(strings.size(), 3); // the texts are still shown
        QVERIFY(!languageChecksumOk.load());
        backend.opens = 0;
        hid.transportIdle = false; // as claimed by a command
        QVERIFY(!hid.sendExchange(0, false));
        QVERIFY(!hid.receiveExchange(0));
        QCOMPARE(backend.opens.load(), 0);
        QCOMPARE(backend.features, 0);
        QVERIFY(hid.transportIdle.load()); // the claim is given back
    }

    loc.globalStrings("025044");
    QVERIFY(languageChecksumOk.load());
    if (hid.deviceRecords().size() < 2 || hid.deviceRecords().at(1).commandPath.isEmpty())
        QSKIP("device discovery not available in this build");
    hid.transportIdle = false;
    QVERIFY(hid.sendExchange(0, false));
    QCOMPARE(backend.features, 1);
}

void TstLocalization::invalidCodeTouchesNoFile_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("empty") << "";
    QTest::newRow("five digits") << "03100";
    QTest::newRow("seven digits") << "0310000";
    QTest::newRow("letter") << "03100a";
    QTest::newRow("space") << " 031000";
    QTest::newRow("other digits") << QString::fromUtf8("٠٣١٠٠٠");
    QTest::newRow("climbs out") << "../lang_031000";
    QTest::newRow("absolute") << "/tmp/x";
}

void TstLocalization::invalidCodeTouchesNoFile()
{
    QFETCH(QString, code);
    // Without the code check, "lang_" + "../lang_031000" + ".ini" reaches a good file in a
    // folder named "lang_..", which stands for any file the path can be made to reach.
    QVERIFY(QDir(m_folder).mkpath("lang_.."));
    writeLanguageFile(m_folder + "/lang_../lang_031000.ini", goodLanguage("outside"));
    const QStringList before = QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    Localization loc(m_folder);
    QVERIFY(loc.filePath(code).isEmpty());
    QCOMPARE(loc.globalStrings(code), QStringList());
    QCOMPARE(loc.msgStrings(), blanks(6));
    QVERIFY(!languageChecksumOk.load());
    QCOMPARE(loc.productLayoutStrings(code), blanks(16));
    QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void TstLocalization::hugeTotalIsBounded()
{
    QVariantMap v = goodLanguage("en");
    v["font/total"] = 2000000000;
    v["font/cs"] = LanguageChecksum::fromSum(quint32(QString("ONE enTWO en").size()));
    writeLanguageFile(m_folder + "/lang_031000.ini", v);
    Localization loc(m_folder);
    const QStringList strings = loc.globalStrings("031000");
    QCOMPARE(strings.size(), 1 + LanguageChecksum::kMaxStrings);
    QCOMPARE(strings.at(2), QString("TWO en"));
    QVERIFY(loc.checksumOk());
}

void TstLocalization::productLayoutAlwaysSixteen()
{
    writeLanguageFile(m_folder + "/lang_031000.ini", goodLanguage("en"));
    Localization loc(m_folder);
    QStringList expected = blanks(16);
    expected[0] = "en left";
    expected[1] = "en right";
    expected[15] = "en wheel down";
    QCOMPARE(loc.productLayoutStrings("031000"), expected);
    QCOMPARE(loc.productLayoutStrings("042000"), blanks(16));
}

QTEST_MAIN(TstLocalization)
#include "tst_localization.moc"
