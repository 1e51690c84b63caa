// The macro files: naming, listing, line storage, assignment by device, the re-send of an
// assigned macro, import and export, and the refusal of names that are not plain file names.
#include "dialogs.h"
#include "macroencoder.h"
#include "macrolibrary.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// Every file below a folder with its content, to show that nothing was touched.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readAll(path));
    }
    return files;
}

struct Resent {
    QString device;
    int slot = -1;
    QString name;
    QStringList linesAtSend;
};

} // namespace

class TestMacroLibrary : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newNames_data();
    void newNames();
    void createWritesDefaults();
    void namesSortIgnoringCase();

    void linesRoundTrip();
    void saveReplacesOldLines();
    void saveWithoutFileCreatesNothing();
    void saveThatCannotWriteFails();
    void loadOddTotals_data();
    void loadOddTotals();

    void hugeTotalIsBounded();

    void resendOnSave_data();
    void resendOnSave();

    void configByDevice();
    void configNeedsBothValues();

    void deleteAndRename();

    void importReplaces_data();
    void importReplaces();
    void exportCopies();

    void unsafeNamesTouchNothing_data();
    void unsafeNamesTouchNothing();
    void longestNameAccepted();

private:
    QString macroFile(const QString& name) const
    {
        return m_dir->path() + QStringLiteral("/macro/") + name + QStringLiteral(".bin");
    }

    QScopedPointer<QTemporaryDir> m_dir;
    QScopedPointer<MacroLibrary> m_lib;
    ScriptedDialogs m_dialogs;
    uint m_device = MacroLibrary::kMouse;
    QList<Resent> m_resent;
};

void TestMacroLibrary::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("macro")));
    m_lib.reset(new MacroLibrary(m_dir->path() + QStringLiteral("/macro")));
    m_device = MacroLibrary::kMouse;
    m_resent.clear();
    m_lib->setDeviceId([this] { return m_device; });
    m_lib->setMouseResend([this](uchar slot, const QString& name) {
        m_resent.append({QStringLiteral("mouse"), slot, name, m_lib->loadMacroIni(name)});
    });
    m_lib->setKeyboardResend([this](uchar slot, const QString& name) {
        m_resent.append({QStringLiteral("keyboard"), slot, name, m_lib->loadMacroIni(name)});
    });
    m_dialogs = ScriptedDialogs();
    Dialogs::install(&m_dialogs);
}

void TestMacroLibrary::cleanup()
{
    Dialogs::install(nullptr);
    m_lib.reset();
    m_dir.reset();
}

void TestMacroLibrary::newNames_data()
{
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << QList<int>{} << "Macro. 001";
    QTest::newRow("001 and 003 present") << QList<int>{1, 3} << "Macro. 002";
    QTest::newRow("001 to 009 present") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} << "Macro. 010";
    QTest::newRow("only 002 present") << QList<int>{2} << "Macro. 001";
}

void TestMacroLibrary::newNames()
{
    QFETCH(QList<int>, present);
    QFETCH(QString, expected);
    for (int n : present)
        QVERIFY(writeAll(macroFile(MacroLibrary::macroName(n)), "[config]\n"));
    QCOMPARE(m_lib->createMacroIni().toString(), expected);
    QVERIFY(QFile::exists(macroFile(expected)));

    QCOMPARE(MacroLibrary::macroName(999), QStringLiteral("Macro. 999"));
    QCOMPARE(MacroLibrary::macroName(1000), QStringLiteral("Macro. 1000"));
}

void TestMacroLibrary::createWritesDefaults()
{
    const QString name = m_lib->createMacroIni().toString();
    QSettings file(macroFile(name), QSettings::IniFormat);
    QCOMPARE(file.value("config/index").toInt(), -1);
    QCOMPARE(file.value("config/total").toInt(), 0);
    QCOMPARE(file.value("config/repeat").toInt(), 1);
    QCOMPARE(file.value("config/did").toInt(), -1);
    QCOMPARE(m_lib->loadMacroIni(name), QStringList());
    QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{-1, 1}));
}

void TestMacroLibrary::namesSortIgnoringCase()
{
    for (const char* f :
         {"b.bin", "Macro. 001.bin", "a.bin", "C.bin", "notes.txt", "d.bin.old", "E.BIN"})
        QVERIFY(writeAll(m_dir->path() + "/macro/" + f, ""));
    QVERIFY(QDir(m_dir->path()).mkpath("macro/folder.bin"));
    QCOMPARE(m_lib->getMacroIniNames(), (QStringList{"a.bin", "b.bin", "C.bin", "Macro. 001.bin"}));
}

void TestMacroLibrary::linesRoundTrip()
{
    const QString name = m_lib->createMacroIni().toString();
    const QStringList lines{
        QStringLiteral("KP 7     [Down]"),
        QStringLiteral("' \"      [Up]"),
        QStringLiteral("50   [Delay]"),
        QString(QChar(0x25BA)) + QStringLiteral("    [Down]"),
        QStringLiteral("\\ |    [Down]"),
        QStringLiteral("; :      [Up]"),
        QString(),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("a=b, c"),
    };
    QCOMPARE(m_lib->saveMacroIni(name, lines).toBool(), true);
    QCOMPARE(m_lib->loadMacroIni(name), lines);
    QSettings file(macroFile(name), QSettings::IniFormat);
    QCOMPARE(file.value("config/total").toInt(), lines.size());
}

void TestMacroLibrary::saveReplacesOldLines()
{
    const QString name = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->saveMacroIni(name, {"A    [Down]", "B    [Down]", "C    [Down]"}).toBool());
    QVERIFY(m_lib->saveMacroIni(name, {"Z      [Up]"}).toBool());
    QCOMPARE(m_lib->loadMacroIni(name), QStringList{"Z      [Up]"});
    QSettings file(macroFile(name), QSettings::IniFormat);
    QVERIFY(!file.contains("macro/1"));
    QVERIFY(!file.contains("macro/2"));
}

void TestMacroLibrary::saveWithoutFileCreatesNothing()
{
    QCOMPARE(m_lib->saveMacroIni(QStringLiteral("Macro. 001"), {"A    [Down]"}).toBool(), false);
    QCOMPARE(QDir(m_dir->path() + "/macro").entryList(QDir::Files | QDir::Hidden).size(), 0);
    QVERIFY(m_resent.isEmpty());
}

// A save that cannot reach the disk is a failure, and the device keeps what it has.
void TestMacroLibrary::saveThatCannotWriteFails()
{
    m_device = MacroLibrary::kMouse;
    const QString name = m_lib->createMacroIni().toString();
    m_lib->setMacroIniConfig(name, {0, 1});
    QVERIFY(m_lib->saveMacroIni(name, {"A    [Down]"}).toBool());
    m_resent.clear();
    const QByteArray before = readAll(macroFile(name));

    const QString folder = m_dir->path() + QStringLiteral("/macro");
    const QFileDevice::Permissions was = QFile::permissions(folder);
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QVERIFY(QFile::setPermissions(macroFile(name), QFileDevice::ReadOwner));
    // A user allowed to write anyway (the superuser) cannot see the failure.
    const bool writable = QFileInfo(macroFile(name)).isWritable();
    const QVariant saved = writable ? QVariant() : m_lib->saveMacroIni(name, {"B    [Down]"});
    QFile::setPermissions(macroFile(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::setPermissions(folder, was);
    if (writable)
        QSKIP("file permissions do not apply to this user");

    QCOMPARE(saved.toBool(), false);
    QVERIFY(m_resent.isEmpty());
    QCOMPARE(readAll(macroFile(name)), before);
}

void TestMacroLibrary::loadOddTotals_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("gap gives an empty line")
        << QByteArray("[config]\ntotal=3\n[macro]\n0=A\n2=C\n") << QStringList{"A", "", "C"};
    QTest::newRow("no total") << QByteArray("[macro]\n0=A\n") << QStringList();
    QTest::newRow("negative total")
        << QByteArray("[config]\ntotal=-4\n[macro]\n0=A\n") << QStringList();
    QTest::newRow("total not a number")
        << QByteArray("[config]\ntotal=many\n[macro]\n0=A\n") << QStringList();
}

void TestMacroLibrary::loadOddTotals()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QVERIFY(writeAll(macroFile("odd"), content));
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("odd")), expected);
}

// A file's line count is not trusted to size the list: a damaged or hostile count must not
// make the editor build billions of lines.
void TestMacroLibrary::hugeTotalIsBounded()
{
    QVERIFY(writeAll(macroFile("huge"), "[config]\ntotal=2147483647\n[macro]\n0=A\n"));
    const QStringList lines = m_lib->loadMacroIni(QStringLiteral("huge"));
    QCOMPARE(lines.size(), MacroLibrary::kMaxLines);
    QCOMPARE(lines.first(), QStringLiteral("A"));
}

void TestMacroLibrary::resendOnSave_data()
{
    QTest::addColumn<uint>("device");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("sentTo");
    QTest::addColumn<int>("slot");

    QTest::newRow("mouse, index 0 goes to slot 1") << 1u << 0 << "mouse" << 1;
    QTest::newRow("mouse, index 11 goes to slot 12") << 1u << 11 << "mouse" << 12;
    QTest::newRow("mouse, index 12 sends nothing") << 1u << 12 << "" << -1;
    QTest::newRow("mouse, unassigned") << 1u << -1 << "" << -1;
    QTest::newRow("keyboard, index 0 is slot 0") << 0u << 0 << "keyboard" << 0;
    QTest::newRow("keyboard, index 34") << 0u << 34 << "keyboard" << 34;
    QTest::newRow("keyboard, index 35 sends nothing") << 0u << 35 << "" << -1;
    QTest::newRow("other device sends nothing") << 2u << 0 << "" << -1;
}

void TestMacroLibrary::resendOnSave()
{
    QFETCH(uint, device);
    QFETCH(int, index);
    QFETCH(QString, sentTo);
    QFETCH(int, slot);

    m_device = device;
    const QString name = m_lib->createMacroIni().toString();
    m_lib->setMacroIniConfig(name, {index, 2});
    const QStringList lines{"A    [Down]", "A      [Up]"};
    QVERIFY(m_lib->saveMacroIni(name, lines).toBool());
    if (sentTo.isEmpty()) {
        QCOMPARE(m_resent.size(), 0);
        return;
    }
    QCOMPARE(m_resent.size(), 1);
    QCOMPARE(m_resent.at(0).device, sentTo);
    QCOMPARE(m_resent.at(0).slot, slot);
    QCOMPARE(m_resent.at(0).name, name);
    // The device must get the lines just saved, so they are on disk before the re-send.
    QCOMPARE(m_resent.at(0).linesAtSend, lines);
}

void TestMacroLibrary::configByDevice()
{
    const QString name = m_lib->createMacroIni().toString();
    m_device = MacroLibrary::kKeyboard;
    m_lib->setMacroIniConfig(name, {4, 3});
    QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{4, 3}));
    m_device = MacroLibrary::kMouse;
    QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{-1, 3}));
    QCOMPARE(m_lib->storedRepeat(name), quint16(3));

    m_lib->setMacroIniConfig(name, {7, 9});
    QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{7, 9}));
    QSettings file(macroFile(name), QSettings::IniFormat);
    QCOMPARE(file.value("config/did").toInt(), 1);

    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("missing")), QVariantList());
    m_lib->setMacroIniConfig(QStringLiteral("missing"), {1, 1});
    QVERIFY(!QFile::exists(macroFile("missing")));
}

void TestMacroLibrary::configNeedsBothValues()
{
    const QString name = m_lib->createMacroIni().toString();
    m_lib->setMacroIniConfig(name, {5, 2});
    const QByteArray before = readAll(macroFile(name));
    m_lib->setMacroIniConfig(name, {8});
    m_lib->setMacroIniConfig(name, {});
    QCOMPARE(readAll(macroFile(name)), before);
    QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{5, 2}));
}

void TestMacroLibrary::deleteAndRename()
{
    const QString a = m_lib->createMacroIni().toString();
    const QString b = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->saveMacroIni(a, {"A    [Down]"}).toBool());
    QVERIFY(m_lib->saveMacroIni(b, {"B    [Down]"}).toBool());

    // A rename onto an existing macro fails and keeps both.
    QCOMPARE(m_lib->renameMacroIniFile(a, b), false);
    QCOMPARE(m_lib->loadMacroIni(a), QStringList{"A    [Down]"});
    QCOMPARE(m_lib->loadMacroIni(b), QStringList{"B    [Down]"});

    m_lib->setMacroIniConfig(a, {3, 4});
    QCOMPARE(m_lib->renameMacroIniFile(a, QStringLiteral("Jump")), true);
    QVERIFY(!QFile::exists(macroFile(a)));
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("Jump")), QStringList{"A    [Down]"});
    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("Jump")), (QVariantList{3, 4}));
    QCOMPARE(m_lib->renameMacroIniFile(a, QStringLiteral("Other")), false);

    QCOMPARE(m_lib->deleteMacroIni(b).toBool(), true);
    QCOMPARE(m_lib->deleteMacroIni(b).toBool(), false);
    QVERIFY(!QFile::exists(macroFile(b)));
}

void TestMacroLibrary::importReplaces_data()
{
    QTest::addColumn<bool>("macroExists");
    QTest::addColumn<int>("sourceSize"); // -1: cancelled dialog
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<int>("warnings");

    QTest::newRow("replaced byte for byte") << true << 300 << true << 0;
    QTest::newRow("exactly 1 MiB accepted") << true << 1024 * 1024 << true << 0;
    QTest::newRow("over 1 MiB refused") << true << 1024 * 1024 + 1 << false << 1;
    QTest::newRow("cancelled") << true << -1 << false << 0;
    QTest::newRow("macro file vanished: nothing copied") << false << 300 << false << 0;
}

void TestMacroLibrary::importReplaces()
{
    QFETCH(bool, macroExists);
    QFETCH(int, sourceSize);
    QFETCH(bool, replaced);
    QFETCH(int, warnings);

    const QString name = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->saveMacroIni(name, {"A    [Down]"}).toBool());
    const QByteArray old = readAll(macroFile(name));
    if (!macroExists)
        QVERIFY(QFile::remove(macroFile(name)));

    const QString source = m_dir->path() + QStringLiteral("/pick.mc");
    QByteArray content(qMax(sourceSize, 0), 'x');
    content.replace(0, 19, "[config]\ntotal=0\n\n#");
    if (sourceSize >= 0)
        QVERIFY(writeAll(source, content.left(sourceSize)));
    m_dialogs.nextOpen = sourceSize >= 0 ? source : QString();

    QCOMPARE(m_lib->loadMacroIniFromFile(name), replaced);
    QCOMPARE(m_dialogs.opens, 1);
    QCOMPARE(m_dialogs.lastCaption, QStringLiteral("Open File"));
    QCOMPARE(m_dialogs.lastFilter, QStringLiteral("Macro(*.mc)"));
    QCOMPARE(m_dialogs.warnings, warnings);
    if (!macroExists)
        QVERIFY(!QFile::exists(macroFile(name)));
    else if (replaced)
        QCOMPARE(readAll(macroFile(name)), content.left(sourceSize));
    else
        QCOMPARE(readAll(macroFile(name)), old);
    // No temporary file is left beside the macros.
    QCOMPARE(QDir(m_dir->path() + "/macro").entryList(QDir::Files | QDir::Hidden).size(),
             macroExists ? 1 : 0);
}

void TestMacroLibrary::exportCopies()
{
    const QString name = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->saveMacroIni(name, {"A    [Down]"}).toBool());
    const QString target = m_dir->path() + QStringLiteral("/out.mc");
    QVERIFY(writeAll(target, "older export"));

    m_dialogs.nextSave = target;
    QCOMPARE(m_lib->saveMacroIniToFile(name), true);
    QCOMPARE(m_dialogs.lastCaption, QStringLiteral("Save File"));
    QCOMPARE(m_dialogs.lastFilter, QStringLiteral("Macro(*.mc)"));
    QCOMPARE(readAll(target), readAll(macroFile(name)));

    // A macro without file asks nothing.
    QCOMPARE(m_lib->saveMacroIniToFile(QStringLiteral("missing")), false);
    QCOMPARE(m_dialogs.saves, 1);
    // Cancelled: the old export stays as it was.
    m_dialogs.nextSave.clear();
    QVERIFY(writeAll(target, "older export"));
    QCOMPARE(m_lib->saveMacroIniToFile(name), false);
    QCOMPARE(readAll(target), QByteArray("older export"));
}

void TestMacroLibrary::unsafeNamesTouchNothing_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("empty") << QString();
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("up and out") << "../victim";
    QTest::newRow("into a sub-folder") << "sub/inner";
    QTest::newRow("absolute") << "/tmp/victim";
    QTest::newRow("backslash") << "..\\victim";
    QTest::newRow("NUL") << QString::fromLatin1("Macro. 001\0x", 12);
    QTest::newRow("newline") << "Macro. 001\nx";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("DEL") << "a\x7f";
    QTest::newRow("201 bytes") << QString(201, QLatin1Char('m'));
    QTest::newRow("over 200 bytes in UTF-8") << QString(101, QChar(0xE9));
}

void TestMacroLibrary::unsafeNamesTouchNothing()
{
    QFETCH(QString, name);

    // Files an unchecked name would reach: one beside the folder, one in a sub-folder, one
    // that a name cut at its NUL or newline would hit.
    const QString safe = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->saveMacroIni(safe, {"A    [Down]"}).toBool());
    m_lib->setMacroIniConfig(safe, {0, 1});
    QVERIFY(writeAll(m_dir->path() + "/victim.bin", "[config]\ntotal=1\n[macro]\n0=keep\n"));
    QVERIFY(QDir(m_dir->path()).mkpath("macro/sub"));
    QVERIFY(writeAll(m_dir->path() + "/macro/sub/inner.bin", "[config]\ntotal=0\n"));
    QVERIFY(writeAll(m_dir->path() + "/import.mc", "[config]\ntotal=0\n"));
    m_dialogs.nextOpen = m_dir->path() + "/import.mc";
    m_dialogs.nextSave = m_dir->path() + "/export.mc";
    const auto before = snapshot(m_dir->path());
    m_resent.clear();

    QCOMPARE(m_lib->saveMacroIni(name, {"B    [Down]"}).toBool(), false);
    QCOMPARE(m_lib->loadMacroIni(name), QStringList());
    QCOMPARE(m_lib->loadMacroIniConfig(name), QVariantList());
    m_lib->setMacroIniConfig(name, {1, 2});
    QCOMPARE(m_lib->deleteMacroIni(name).toBool(), false);
    QCOMPARE(m_lib->renameMacroIniFile(safe, name), false);
    QCOMPARE(m_lib->renameMacroIniFile(name, QStringLiteral("renamed")), false);
    QCOMPARE(m_lib->loadMacroIniFromFile(name), false);
    QCOMPARE(m_lib->saveMacroIniToFile(name), false);
    QCOMPARE(m_lib->storedRepeat(name), quint16(1));

    MacroEncoder encoder(m_lib.data());
    int sends = 0;
    encoder.setMouseSender([&sends](uchar, uchar*) { ++sends; });
    encoder.ui_13H_SetMacroKey(1, name);

    QCOMPARE(sends, 0);
    QVERIFY(m_resent.isEmpty());
    QCOMPARE(snapshot(m_dir->path()), before);
    // The user who typed the name is told why the rename did not happen.
    QCOMPARE(m_dialogs.warnings, 1);
}

void TestMacroLibrary::longestNameAccepted()
{
    const QString name(200, QLatin1Char('m'));
    QVERIFY(MacroLibrary::isSafeName(name));
    QVERIFY(MacroLibrary::isSafeName(QString(100, QChar(0xE9))));
    QVERIFY(MacroLibrary::isSafeName(QStringLiteral("..hidden dots.")));
    const QString first = m_lib->createMacroIni().toString();
    QCOMPARE(m_lib->renameMacroIniFile(first, name), true);
    QVERIFY(m_lib->saveMacroIni(name, {"A    [Down]"}).toBool());
    QCOMPARE(m_lib->loadMacroIni(name), QStringList{"A    [Down]"});
}

QTEST_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
