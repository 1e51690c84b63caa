#include "apconfigstore.h"
#include "devicetable.h"
#include "dialogs.h"
#include "localization.h"
#include "macrolibrary.h"
#include "myqquickview.h"
#include "profilestore.h"
#include "shellfixture.h"
#include "ui_controler.h"
#include "virtualmouse.h"
#include "widget.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <sys/stat.h>

// What damaged, hostile or odd files under modules/ do to the program: every reader runs on
// them in bounded time, hands back bounded results and leaves the files as they were.

namespace
{

// Each reader run on one damaged file, the shipped start-up included, stays well below this.
constexpr qint64 kBoundMs = 20000;

const QString kMacroName = QStringLiteral("Macro. 001");
const QString kLanguage = QStringLiteral("031000");

// Keys every reader looks up, over all file kinds, and whether the reader takes a list.
struct Key {
    const char* section;
    const char* name;
};
const Key kKeys[] = {
    {"common", "total"},
    {"common", "0"},
    {"common", "31"},
    {"common", "name"},
    {"common", "product_name"},
    {"common", "sCode1"},
    {"Q7", "colorMaxStage"},
    {"font", "total"},
    {"font", "family"},
    {"font", "cs"},
    {"strings", "1"},
    {"msg", "0"},
    {"Q7_5B7E20D", "0"},
    {"config", "total"},
    {"config", "index"},
    {"config", "repeat"},
    {"config", "did"},
    {"macro", "0"},
    {"keydefine_Q7", "0"},
    {"keydefine_Q7", "15"},
    {"keydefine_Q7", "scrollswap"},
    {"sensor", "reportRate_Q7"},
    {"sensor", "cursorSpeed_Q7"},
    {"sensor", "dpi_Q7"},
    {"sensor", "stage_Q7"},
    {"color_Q7", "type0"},
    {"color_Q7", "type1"},
    {"color_Q7", "ledEffect"},
    {"color", "ledType"},
    {"userPicture", "0"},
};

// An INI text giving every key the value `valueOf` makes for it.
QByteArray everyKey(const std::function<QByteArray(const Key&)>& valueOf)
{
    QByteArray text;
    for (const Key& k : kKeys)
        text += QByteArray("[") + k.section + "]\n" + k.name + "=" + valueOf(k) + "\n";
    return text;
}

QByteArray listOf(int n)
{
    QByteArray text;
    text.reserve(n * 5);
    for (int i = 0; i < n; ++i) {
        if (i)
            text += ", ";
        text += QByteArray::number(i % 256);
    }
    return text;
}

// Deterministic bytes of every value, NUL, brackets, '=' and line ends among them.
QByteArray garbage(int size)
{
    QByteArray bytes(size, '\0');
    quint32 x = 12345;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = char(x >> 24);
    }
    return bytes;
}

QByteArray countsOf(const QByteArray& count)
{
    return everyKey([&](const Key& k) {
        const QByteArray name = k.name;
        return name == "total" || name == "colorMaxStage" || name == "repeat" || name == "index" ||
                       name == "stage_Q7"
                   ? count
                   : QByteArray("1");
    });
}

QByteArray fiveMiB()
{
    QByteArray text = everyKey([](const Key&) { return QByteArray("1, 2, 3, 4"); });
    text += "[pad]\n";
    for (int i = 0; text.size() < 5 * 1024 * 1024; ++i)
        text += "k" + QByteArray::number(i) + "=" + QByteArray(100, 'v') + "\n";
    return text;
}

// Everything below a folder, with each entry's kind and, for plain files, its bytes.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray content = info.isDir() ? "<dir>" : info.isFile() ? QByteArray() : "<other>";
        if (info.isFile()) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                content = "file:" + f.readAll();
        }
        entries.insert(path.mid(root.size()), content);
    }
    return entries;
}

} // namespace

class TstFileRobustness : public QObject
{
    Q_OBJECT

    VirtualMouse m_mouse;
    QString m_oldDir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<QTemporaryDir> m_runtime;

    // A fresh runtime folder: a copy of the shipped modules/ plus one macro, made current.
    QString setUpRuntime()
    {
        m_runtime.reset(new QTemporaryDir);
        if (!m_runtime->isValid())
            return {};
        const QString modules = m_runtime->path() + QStringLiteral("/modules");
        if (!copyTree(shellSourceDir() + QStringLiteral("/modules"), modules) ||
            !QDir().mkpath(modules + QStringLiteral("/macro")))
            return {};
        QFile macro(modules + QStringLiteral("/macro/") + kMacroName + QStringLiteral(".bin"));
        if (!macro.open(QIODevice::WriteOnly) ||
            macro.write("[config]\nindex=0\ntotal=1\nrepeat=1\ndid=1\n"
                        "[macro]\n0=A    [Down]\n") < 0)
            return {};
        macro.close();
        QDir::setCurrent(m_runtime->path());
        return modules;
    }

    // Puts the damage `kind` at modules/<file>.
    static bool corrupt(const QString& modules, const QString& file, const QString& kind,
                        const QByteArray& content)
    {
        const QString path = modules + QLatin1Char('/') + file;
        QFile::remove(path);
        if (kind == QLatin1String("directory"))
            return QDir().mkpath(path);
        if (kind == QLatin1String("pipe"))
            return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    }

    // A fresh runtime folder with the current damage row applied; empty on failure.
    QString damagedRuntime()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        const QString modules = setUpRuntime();
        return !modules.isEmpty() && corrupt(modules, file, kind, content) ? modules : QString();
    }

    static void addDamageRows(const QStringList& files)
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        const QList<QPair<QString, QByteArray>> damages{
            {"empty", QByteArray()},
            {"binary garbage", garbage(64 * 1024)},
            {"huge counts", countsOf("2147483647")},
            {"counts past a list", countsOf("99999999")},
            {"negative counts", countsOf("-5")},
            {"lists for scalars", everyKey([](const Key&) { return QByteArray("1, 2, 3"); })},
            {"texts for numbers and lists", everyKey([](const Key&) { return QByteArray("x"); })},
            {"100000-entry lists", everyKey([](const Key&) { return listOf(100000); })},
            {"5 MiB", fiveMiB()},
            {"invalid UTF-8", everyKey([](const Key&) {
                                  return QByteArray(
                                      "\xff\xfe\xc3\x28\xed\xa0\x80\xf8\x88\x80\x80\x80");
                              }) + "[\xff\xfe]\n\xc3\x28=\xff\n"},
            {"directory", QByteArray()},
            {"pipe", QByteArray()},
        };
        for (const QString& file : files) {
            for (const auto& d : damages)
                QTest::newRow(qPrintable(file + QStringLiteral(": ") + d.first))
                    << file << d.first << d.second;
        }
    }

    static QStringList allFiles()
    {
        return {QStringLiteral("setting/apConfig.bin"),
                QStringLiteral("setting/p1.bin"),
                QStringLiteral("setting/p10.bin"),
                QStringLiteral("setting/pD.bin"),
                QStringLiteral("i18n/lang_") + kLanguage + QStringLiteral(".ini"),
                QStringLiteral("macro/") + kMacroName + QStringLiteral(".bin")};
    }

private slots:
    void initTestCase()
    {
        m_oldDir = QDir::currentPath();
        m_mouse.setPresent(false);
        Dialogs::install(&m_dialogs);
    }
    void cleanupTestCase()
    {
        Dialogs::install(nullptr);
        QDir::setCurrent(m_oldDir);
    }
    void cleanup()
    {
        QDir::setCurrent(m_oldDir);
        m_runtime.reset();
    }

    // The stores on their own: every reader, with results checked against their bounds.
    void storesReadDamagedFiles_data() { addDamageRows(allFiles()); }
    void storesReadDamagedFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        const QString modules = damagedRuntime();
        QVERIFY(!modules.isEmpty());
        const QMap<QString, QByteArray> before = snapshot(modules);
        const bool unreadable = kind == QLatin1String("empty") ||
                                kind == QLatin1String("directory") || kind == QLatin1String("pipe");

        QElapsedTimer timer;
        timer.start();
        {
            const QString setting = modules + QStringLiteral("/setting");
            const QString apPath = setting + QStringLiteral("/apConfig.bin");
            ApConfigStore ap(setting, modules + QStringLiteral("/img"));
            const QVariantList config = ap.load();
            QVERIFY(config.size() <= 1024);
            QCOMPARE(ap.loadDevice().size(), 1);
            ap.windowTitle();
            ap.isSkinShow();
            readDeviceTable(QStringLiteral(":/DevInfo.ini"), apPath);
            loadSecrecyCode(1, apPath);
            if (file.endsWith(QLatin1String("apConfig.bin")) && unreadable) {
                QVERIFY(config.isEmpty());
                QCOMPARE(ap.loadDevice(), QVariantList{8});
            }

            ProfileStore profiles(setting);
            for (uchar page = 0; page < 5; ++page)
                profiles.loadDefaultProfile(page);
            if (file.endsWith(QLatin1String("pD.bin")) && unreadable) {
                // The sensor page's numbers fall back to the page's own defaults.
                QCOMPARE(profiles.loadDefaultProfile(ProfileStore::SensorPage),
                         (QVariantList{2, 5, 2, 5, 2}));
                QVERIFY(profiles.loadDefaultProfile(ProfileStore::ButtonPage).isEmpty());
            }
            for (int slot = 0; slot < ProfileStore::kSlots; ++slot) {
                QVERIFY(profiles.setCurrentProfile(slot));
                for (int id = 0; id < 16; ++id) {
                    profiles.keydefine(id, 1);
                    profiles.keydefine(id, 0);
                }
                profiles.value(QStringLiteral("sensor/dpi_Q7")).toList();
            }

            MacroLibrary macros(modules + QStringLiteral("/macro"));
            const QStringList names = macros.getMacroIniNames() + QStringList{kMacroName};
            for (const QString& name : names) {
                QVERIFY(macros.loadMacroIni(name).size() <= MacroLibrary::kMaxLines);
                const QVariantList assigned = macros.loadMacroIniConfig(name);
                QVERIFY(assigned.isEmpty() || assigned.size() == 2);
                macros.storedRepeat(name);
            }
            if (file.startsWith(QLatin1String("macro/")) && kind != QLatin1String("empty") &&
                unreadable) {
                // Not a plain file: no macro of that name.
                QVERIFY(macros.loadMacroIniConfig(kMacroName).isEmpty());
                QCOMPARE(macros.storedRepeat(kMacroName), quint16(1));
            }

            Localization languages(modules + QStringLiteral("/i18n"));
            languages.languages();
            const QStringList strings = languages.globalStrings(kLanguage);
            QVERIFY(strings.size() <= 1 + 4096);
            QCOMPARE(languages.msgStrings().size(), Localization::kMessageCount);
            QCOMPARE(languages.productLayoutStrings(kLanguage).size(), Localization::kSlotCount);
            if (file.startsWith(QLatin1String("i18n/")) && unreadable) {
                QVERIFY(!languages.checksumOk());
                for (const QString& m : languages.msgStrings())
                    QVERIFY(m.isEmpty());
            }
        }
        QVERIFY2(timer.elapsed() < kBoundMs, qPrintable(QString::number(timer.elapsed())));
        // Reading wrote nothing: no file changed, none appeared, none went.
        QCOMPARE(snapshot(modules), before);
    }

    // Writes aimed at an entry that is no plain file fail without blocking and leave the
    // entry and the folder as they were.
    void writesToUnusableEntries_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        for (const QString& file : allFiles()) {
            for (const char* kind : {"directory", "pipe"})
                QTest::newRow(qPrintable(file + QStringLiteral(": ") + QLatin1String(kind)))
                    << file << QString::fromLatin1(kind);
        }
    }
    void writesToUnusableEntries()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        const QString modules = setUpRuntime();
        QVERIFY(!modules.isEmpty());
        QVERIFY(corrupt(modules, file, kind, QByteArray()));
        const QString path = modules + QLatin1Char('/') + file;
        const QMap<QString, QByteArray> before = snapshot(modules);

        QElapsedTimer timer;
        timer.start();
        {
            const QString setting = modules + QStringLiteral("/setting");
            ApConfigStore ap(setting, modules + QStringLiteral("/img"));
            ap.save({1, 2, 3});
            ap.settings()->sync();
            ProfileStore profiles(setting);
            for (int slot = 0; slot < ProfileStore::kSlots; ++slot) {
                profiles.setCurrentProfile(slot);
                profiles.setValue(QStringLiteral("sensor/stage_Q7"), 4);
                profiles.current()->sync();
            }
            MacroLibrary macros(modules + QStringLiteral("/macro"));
            macros.saveMacroIni(kMacroName, {QStringLiteral("A    [Down]")});
            macros.setMacroIniConfig(kMacroName, {1, 2});
        }
        QVERIFY(timer.elapsed() < kBoundMs);

        const QFileInfo after(path);
        QVERIFY(kind == QLatin1String("directory") ? after.isDir() : !after.isFile());
        QVERIFY(after.exists());
        // Only the entries meant to be written may differ, and none may appear beside them.
        QMap<QString, QByteArray> now = snapshot(modules);
        QCOMPARE(now.keys(), before.keys());
        QCOMPARE(now.value(QLatin1Char('/') + file), before.value(QLatin1Char('/') + file));
    }

    // File names in the macro folder are data too: the list offers exactly the macros the
    // other operations can open.
    void macroListOffersOnlyUsableNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listed");
        QTest::newRow("plain") << QStringLiteral("Fire 2") << true;
        QTest::newRow("non-ASCII") << QStringLiteral("Makro \u00fc\u4e2d") << true;
        QTest::newRow("longest") << QString(MacroLibrary::kMaxNameBytes, QLatin1Char('m')) << true;
        QTest::newRow("one byte too long")
            << QString(MacroLibrary::kMaxNameBytes + 1, QLatin1Char('m')) << false;
        QTest::newRow("tab") << QStringLiteral("a\tb") << false;
        QTest::newRow("line end") << QStringLiteral("a\nb") << false;
        QTest::newRow("escape") << QStringLiteral("a\x1b[2Jb") << false;
        QTest::newRow("delete character") << QStringLiteral("a\x7f") << false;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
    }
    void macroListOffersOnlyUsableNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, listed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile f(dir.path() + QLatin1Char('/') + name + QStringLiteral(".bin"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write("[config]\nrepeat=3\n") > 0);
        f.close();
        MacroLibrary macros(dir.path());
        const QStringList names = macros.getMacroIniNames();
        QCOMPARE(names, listed ? QStringList{name + QStringLiteral(".bin")} : QStringList());
        if (listed) {
            QCOMPARE(macros.storedRepeat(name), quint16(3));
            QCOMPARE(macros.deleteMacroIni(name), QVariant(true));
        }
    }

    // The shipped start-up and the view's reading slots on a damaged runtime folder.
    void shippedViewStartsOnDamagedFiles_data()
    {
        addDamageRows({QStringLiteral("setting/apConfig.bin"), QStringLiteral("setting/p1.bin"),
                       QStringLiteral("setting/pD.bin"),
                       QStringLiteral("i18n/lang_") + kLanguage + QStringLiteral(".ini")});
    }
    void shippedViewStartsOnDamagedFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        const QString modules = damagedRuntime();
        QVERIFY(!modules.isEmpty());

        QElapsedTimer timer;
        timer.start();
        auto w = makeHostWindow(Ui_Controler::defaultSource(), m_mouse);
        myQQuickView* view = w->controller->view;
        QVERIFY(view->rootObject());
        const auto call = [view](const char* slot, QGenericArgument a = QGenericArgument(),
                                 QGenericArgument b = QGenericArgument()) {
            QVERIFY2(QMetaObject::invokeMethod(view, slot, Qt::DirectConnection, a, b), slot);
        };
        call("loadApConfig");
        call("loadDeviceApConfig");
        call("getIsSkinShow");
        call("chkLanguages");
        call("getGlobalStrings", Q_ARG(QString, kLanguage));
        call("getProductLayoutStrings_Q7", Q_ARG(QString, kLanguage));
        for (uchar page : {uchar(0), uchar(2), uchar(3)})
            call("loadDefaultProfile", Q_ARG(uchar, page));
        for (int profile : {1, 0}) {
            call("ui_02H_SetCurrentProfile", Q_ARG(int, profile));
            for (int id = 0; id < 16; ++id)
                call("getKeydefine", Q_ARG(QVariant, id));
            call("ui_91H_GetDPISet");
            call("ui_8DH_GetRGBLedEffect");
            call("ui_90H_GetLED8StageColor", Q_ARG(uchar, 0));
            call("ui_90H_GetLED8StageColor", Q_ARG(uchar, 1));
            call("ui_88H_GetLEDType");
            call("getScrollPinSwap");
            call("getCursorSpeed");
            call("getVerticalScrollLines");
            call("getDoubleClickSpeed");
        }
        call("getMacroIniNames");
        call("loadMacroIni", Q_ARG(QVariant, kMacroName));
        call("loadMacroIniConfig", Q_ARG(QVariant, kMacroName));
        view->initUI();
        view->runUI();
        QTRY_VERIFY(view->rootObject()->isVisible());
        QVERIFY2(timer.elapsed() < kBoundMs, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_MAIN(TstFileRobustness)
#include "tst_filerobustness.moc"
