// The shipped language files: each one passes its own check and carries every text the
// documents address, its messages and the mouse's button names.
#include "hid_thread.h"
#include "languagechecksum.h"
#include "localization.h"

#include <QDir>
#include <QSettings>
#include <QtTest>

namespace
{

QString shippedFolder()
{
    const QString source = qEnvironmentVariable("Q7_SOURCE_DIR");
    return source.isEmpty() ? QStringLiteral("./modules/i18n") : source + "/modules/i18n";
}

// Texts the documents address: 1..114 from the built-in list, 115 and 116 the DPI labels.
constexpr int kTextCount = 116;
// Button slots the mouse has; the others stay empty so the button page hides them.
const QList<int> kMouseSlots = {0, 1, 2, 3, 4, 5, 6, 14, 15};

} // namespace

class TstLanguageFiles : public QObject
{
    Q_OBJECT
private slots:
    void cleanupTestCase() { languageChecksumOk = true; }
    void requiredLanguagesAreListed();
    void file_data();
    void file();
};

void TstLanguageFiles::requiredLanguagesAreListed()
{
    const QVariantMap list = Localization(shippedFolder()).languages();
    for (const char* name : {"CHINESE (Simp)", "CHINESE (Trad)", "ENGLISH", "GERMAN"})
        QVERIFY2(list.contains(name), name);
    // Every file in the folder is a loadable language: a stray name would not be listed.
    const QStringList files =
        QDir(shippedFolder()).entryList({"*.ini"}, QDir::Files | QDir::CaseSensitive);
    QCOMPARE(list.size(), files.size());
}

void TstLanguageFiles::file_data()
{
    QTest::addColumn<QString>("code");
    const QVariantMap list = Localization(shippedFolder()).languages();
    QVERIFY(!list.isEmpty());
    for (auto it = list.cbegin(); it != list.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.value().toString();
}

void TstLanguageFiles::file()
{
    QFETCH(QString, code);
    Localization loc(shippedFolder());
    languageChecksumOk = false;
    const QStringList strings = loc.globalStrings(code);
    QVERIFY2(loc.checksumOk(), "font/cs does not match the texts; run tools/make_languages.py");
    QVERIFY(languageChecksumOk.load());

    QCOMPARE(strings.size(), 1 + kTextCount);
    QVERIFY(!strings.at(0).isEmpty()); // font family
    for (int k = 1; k <= kTextCount; ++k)
        QVERIFY2(!strings.at(k).trimmed().isEmpty(), qPrintable(QString("text %1").arg(k)));
    // The button page labels its DPI entries with the last two texts.
    QCOMPARE(strings.at(115), QStringLiteral("DPI +"));
    QCOMPARE(strings.at(116), QStringLiteral("DPI -"));

    QCOMPARE(loc.msgStrings().size(), Localization::kMessageCount);
    for (int i = 0; i < Localization::kMessageCount; ++i)
        QVERIFY2(!loc.msg(i).trimmed().isEmpty(), qPrintable(QString("message %1").arg(i)));
    // The picture warning's text is followed directly by the path: it must end in a
    // separator, not run into the path.
    QVERIFY(!loc.msg(3).at(loc.msg(3).size() - 1).isLetterOrNumber());

    const QStringList names = loc.productLayoutStrings(code);
    QCOMPARE(names.size(), Localization::kSlotCount);
    for (int j = 0; j < Localization::kSlotCount; ++j)
        QCOMPARE(!names.at(j).isEmpty(), kMouseSlots.contains(j));

    // The stored values come through QSettings unchanged: a comma would otherwise have
    // split a text into a list and emptied it.
    QSettings raw(loc.filePath(code), QSettings::IniFormat);
    raw.setIniCodec("UTF-8");
    QCOMPARE(raw.value("font/total").toInt(), kTextCount);
    for (int i = 0; i < Localization::kMessageCount; ++i)
        QCOMPARE(raw.value(QString("msg/%1").arg(i)).type(), QVariant::String);
}

QTEST_MAIN(TstLanguageFiles)
#include "tst_languagefiles.moc"
