#include "commandfixture.h"
#include "dialogs.h"
#include "myqquickview.h"
#include "profilestore.h"
#include "shellfixture.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaMethod>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <climits>
#include <cmath>
#include <memory>

// Every public slot of the view host called with arguments the documents could pass by
// mistake: wrong kinds, empty and oversized lists, out-of-range numbers and names that try to
// leave the program's folders. Nothing may crash, hang, or create a file outside the folders
// the services write to.

namespace
{

// Longest a single slot call may take. Device sets wait for the previous exchange and gets
// run a few exchanges of their own; nothing a slot does should come near this.
constexpr qint64 kCallBoundMs = 15000;

// The name of a macro the tests keep in the library.
const char kMacro[] = "Robust";

// Every file and folder under root, relative to it.
QSet<QString> treeOf(const QString& root)
{
    QSet<QString> out;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out.insert(QDir(root).relativeFilePath(it.next()));
    return out;
}

// A list whose entries are each of the hostile kinds in turn.
QVariantList mixedList(int count)
{
    const QVariantList kinds{QVariant(),
                             QString("abc"),
                             QString(),
                             QString("-1"),
                             QString("1e309"),
                             -1,
                             INT_MAX,
                             INT_MIN,
                             qInf(),
                             qQNaN(),
                             QVariantList{1, 2},
                             QString("../x"),
                             QVariantMap{{"a", 1}}};
    QVariantList l;
    l.reserve(count);
    for (int i = 0; i < count; ++i)
        l.append(kinds.at(i % kinds.size()));
    return l;
}

// One argument, held in the form the slot's parameter type needs.
struct Argument {
    int type = 0;
    QVariant holder; // the value itself when the parameter is a QVariant
    QGenericArgument generic(const QByteArray& typeName) const
    {
        return QGenericArgument(typeName.constData(), type == QMetaType::QVariant
                                                          ? static_cast<const void*>(&holder)
                                                          : holder.constData());
    }
};

// The hostile value for a parameter of the given type: lists and variants take the value
// itself (a scalar is repeated into a list long enough to overrun any fixed buffer), numbers
// take the row's number cast the way a caller's conversion would.
Argument argumentFor(int type, const QVariant& value, qint64 number)
{
    Argument a;
    a.type = type;
    const bool isList = value.userType() == QMetaType::QVariantList;
    switch (type) {
    case QMetaType::QVariant:
        a.holder = value;
        break;
    case QMetaType::QVariantList:
        a.holder = isList ? value.toList() : QVariantList(QVector<QVariant>(600, value).toList());
        break;
    case QMetaType::QStringList: {
        QStringList l;
        if (isList) {
            for (const QVariant& v : value.toList())
                l.append(v.toString());
        } else {
            l = QVector<QString>(600, value.toString()).toList();
        }
        a.holder = l;
        break;
    }
    case QMetaType::QString:
        a.holder = isList ? QString(value.toList().size(), QLatin1Char('x')) : value.toString();
        break;
    case QMetaType::Int:
        a.holder = int(number);
        break;
    case QMetaType::UInt:
        a.holder = uint(number);
        break;
    case QMetaType::UChar:
        a.holder = QVariant::fromValue(uchar(number));
        break;
    case QMetaType::Bool:
        a.holder = number != 0;
        break;
    default:
        a.holder = QVariant(type, nullptr);
        break;
    }
    return a;
}

} // namespace

class TestSlotRobustness : public QObject
{
    Q_OBJECT

    QTemporaryDir m_outer;
    QString m_app;
    QString m_oldDir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<VirtualMouseFixture> m_device;
    std::unique_ptr<myQQuickView> m_view;

    // The folders (relative to the outer folder) the services may add files to.
    static bool isWritableFolder(const QString& relative)
    {
        const QString dir = QFileInfo(relative).path();
        return dir == QLatin1String("app/modules/macro") ||
               dir == QLatin1String("app/modules/setting");
    }

    QString newFilesOutsideFolders(const QSet<QString>& before) const
    {
        QStringList bad;
        for (const QString& path : treeOf(m_outer.path()))
            if (!before.contains(path) && !isWritableFolder(path))
                bad.append(path);
        return bad.join(", ");
    }

    // Calls method with arguments built from value and number; false when the call did not
    // reach the slot (a fault of this test, not of the program).
    bool call(const QMetaMethod& method, const QVariant& value, qint64 number)
    {
        std::vector<Argument> args;
        for (int i = 0; i < method.parameterCount(); ++i)
            args.push_back(argumentFor(method.parameterType(i), value, number));
        const QList<QByteArray> types = method.parameterTypes();
        QGenericArgument g[10];
        for (size_t i = 0; i < args.size(); ++i)
            g[i] = args[i].generic(types.at(int(i)));

        QVariant result;
        QGenericReturnArgument ret;
        const int rt = method.returnType();
        if (rt != QMetaType::Void) {
            if (rt == QMetaType::QVariant) {
                ret = QGenericReturnArgument(method.typeName(), &result);
            } else {
                result = QVariant(rt, nullptr);
                ret = QGenericReturnArgument(method.typeName(), result.data());
            }
        }
        return method.invoke(m_view.get(), Qt::DirectConnection, ret, g[0], g[1], g[2], g[3], g[4],
                             g[5], g[6], g[7], g[8], g[9]);
    }

    // A macro assigned to the first button, with more lines than a device slot holds, so
    // saving it re-sends it and the encoder has to cut it.
    bool writeStoredMacro() const
    {
        QFile f(m_app + "/modules/macro/" + kMacro + ".bin");
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        QByteArray text = "[config]\nindex=0\nrepeat=65535\ndid=1\ntotal=3000\n[macro]\n";
        for (int i = 0; i < 3000; ++i) {
            static const char* const kLines[] = {"A    [Down]",     "A      [Up]",
                                                 "99999   [Delay]", "-5   [Delay]",
                                                 "1300   [Delay]",  "?????"};
            text += QByteArray::number(i) + "=\"" + kLines[i % 6] + "\"\n";
        }
        return f.write(text) == text.size();
    }

private slots:
    void initTestCase()
    {
        // The pointer settings must not reach a real display's pointer.
        qunsetenv("DISPLAY");
        qRegisterMetaType<QList<uchar>>("QList<uchar>");
        QVERIFY(m_outer.isValid());
        m_app = m_outer.path() + "/app";
        QVERIFY(copyTree(shellSourceDir() + "/modules", m_app + "/modules"));
        m_oldDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_app));
        Dialogs::install(&m_dialogs);

        m_device.reset(new VirtualMouseFixture);
        deviceConnected = true;
        m_view.reset(new myQQuickView);
        m_view->setHid(&m_device->hid);
    }

    void cleanupTestCase()
    {
        m_view.reset();
        m_device.reset();
        Dialogs::install(nullptr);
        deviceConnected = false;
        QDir::setCurrent(m_oldDir);
    }

    void everySlotWithHostileArguments_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<uint>("device");
        QTest::addColumn<QString>("chosenFile");

        const QString outside = m_outer.path() + "/escaped";
        struct Row {
            const char* name;
            QVariant value;
            qint64 number;
        };
        const QList<Row> rows{
            {"invalid variant", QVariant(), 0},
            {"empty list", QVariantList{}, 0},
            {"list of 1", QVariantList{1}, 1},
            {"list of 5000", mixedList(5000), 5000},
            {"nested lists", QVector<QVariant>(600, QVariantList{1, 2, 3}).toList(), 3},
            {"map", QVariantMap{{"0", 1}, {"total", 99999}}, 99999},
            {"text", QString("abc"), -1},
            {"empty text", QString(), 0},
            {"text -1", QString("-1"), -1},
            {"text 1e309", QString("1e309"), INT_MAX},
            {"negative", -1, -1},
            {"int min", INT_MIN, INT_MIN},
            {"int max", INT_MAX, INT_MAX},
            {"uint max", UINT_MAX, qint64(UINT_MAX)},
            {"just past a byte", 256, 256},
            {"infinity", qInf(), LLONG_MAX},
            {"not a number", qQNaN(), 0},
            {"parent path", QString("../x"), 10},
            {"deep parent path", QString("../../../../../../tmp/q7escape"), 11},
            {"sub path", QString("a/b"), 5},
            {"backslash path", QString("..\\x"), 2},
            {"absolute path", outside, 7},
            {"dot", QString("."), 1},
            {"nul inside", QString::fromUtf16(u"a\0b", 3), 1},
            {"very long text", QString(100000, QLatin1Char('y')), 100000},
            {"name of a stored macro", QString(kMacro), 0},
        };
        // The mouse is device 1 and answers; device 0 (the keyboard) is not plugged in.
        for (uint device : {1u, 0u})
            for (const Row& r : rows)
                QTest::addRow("%s, %s", device ? "mouse" : "no keyboard", r.name)
                    << r.value << r.number << device << QString();
        // What the file dialogs hand back is the user's choice, but it may be anything: a
        // device that never ends, a folder, a path that does not exist.
        for (const char* chosen : {"/dev/zero", "/nonexistent/q7/file.pf", "."})
            QTest::addRow("mouse, stored macro, file dialog gives %s", chosen)
                << QVariant(QString(kMacro)) << qint64(1) << 1u << QString(chosen);
    }

    void everySlotWithHostileArguments()
    {
        QFETCH(QVariant, value);
        QFETCH(qint64, number);
        QFETCH(uint, device);
        QFETCH(QString, chosenFile);
        m_device->hid.currentDevice = device;
        // Unless the row says otherwise file dialogs are cancelled; confirmations are
        // accepted so deletions go ahead.
        m_dialogs.nextOpen = chosenFile;
        m_dialogs.nextSave = chosenFile == "." ? m_app : QString();
        m_dialogs.nextConfirm = true;
        m_dialogs.warnings = 0;

        const QMetaObject& mo = myQQuickView::staticMetaObject;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            const QMetaMethod m = mo.method(i);
            if (m.methodType() != QMetaMethod::Slot || m.access() != QMetaMethod::Public)
                continue;
            // Slots before this one may have renamed, deleted or rewritten it.
            QVERIFY(writeStoredMacro());
            const QSet<QString> before = treeOf(m_outer.path());
            QElapsedTimer t;
            t.start();
            QVERIFY2(call(m, value, number), m.methodSignature().constData());
            QVERIFY(m_device->hid.waitForIdle(int(kCallBoundMs)));
            QCoreApplication::processEvents();
            const qint64 took = t.elapsed();
            QVERIFY2(took < kCallBoundMs,
                     qPrintable(m.methodSignature() + " took " + QByteArray::number(took)));
            const QString escaped = newFilesOutsideFolders(before);
            QVERIFY2(escaped.isEmpty(), qPrintable(m.methodSignature() + " created " + escaped));
        }
        // The stored macro reached the encoder, which had to cut it (and said so): the row
        // really exercised the macro paths.
        if (value.toString() == QLatin1String(kMacro))
            QVERIFY(m_dialogs.warnings > 0);
        // Nothing may have reached beyond the runtime folder either.
        QVERIFY(!QFileInfo::exists("/tmp/q7escape"));
        QVERIFY(!QFileInfo::exists("/tmp/q7escape.ini"));
    }

    // A document that hands over far longer lists than a setting has, or entries that are
    // long texts or nested lists, must not grow the profile: it is rewritten on every change
    // and could not be imported again once exported.
    void oversizedListsAreNotKeptWhole_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("reader");
        QTest::newRow("user picture") << "ui_12H_SetUserPicture(3, 255, big)"
                                      << "userPicture/3"
                                      << "ui_92H_GetUserPicture(3)";
        QTest::newRow("stage colours") << "ui_10H_SetLED8StageColor(1, big)"
                                       << "color_Q7/type1"
                                       << "ui_90H_GetLED8StageColor(1)";
        QTest::newRow("lighting record") << "ui_0DH_SetRGBLedEffect(0, 7, 4, big)"
                                         << "color_Q7/ledEffect"
                                         << "ui_8DH_GetRGBLedEffect()";
        QTest::newRow("resolution values") << "ui_11H_SetDPISet(0, [1, 2], big)"
                                           << "sensor/dpi_Q7"
                                           << "ui_91H_GetDPISet()";
        QTest::newRow("button matrix") << "ui_12H_SetKeyMatrix(big)"
                                       << "keydefine_Q7/1"
                                       << "getKeydefine(1)";
    }
    void oversizedListsAreNotKeptWhole()
    {
        QFETCH(QString, call);
        QFETCH(QString, key);
        QFETCH(QString, reader);
        m_device->hid.currentDevice = 1;
        QQmlEngine engine;
        engine.rootContext()->setContextProperty("ui_View", m_view.get());
        QQmlComponent c(&engine);
        // 3000 entries: four plain numbers, then texts of 2000 characters and nested arrays.
        c.setData("import QtQuick 2.15\n"
                  "QtObject {\n"
                  "  function go() { var v = ui_View; var big = [];\n"
                  "    for (var i = 0; i < 3000; ++i)\n"
                  "      big.push(i < 4 ? i : (i % 2 ? 'x'.repeat(2000) : [i, i]));\n"
                  "    v." +
                      call.toUtf8() + "; return v." + reader.toUtf8() +
                      "; }\n"
                      "}\n",
                  QUrl());
        std::unique_ptr<QObject> doc(c.create());
        QVERIFY2(doc, qPrintable(c.errorString()));
        QVariant read;
        QVERIFY(QMetaObject::invokeMethod(doc.get(), "go", Q_RETURN_ARG(QVariant, read)));
        QVERIFY(m_device->hid.waitForIdle(int(kCallBoundMs)));

        ProfileStore* profiles = m_view->profiles();
        const QVariantList kept = profiles->value(key).toList();
        QVERIFY(!kept.isEmpty());
        QVERIFY2(kept.size() <= 512, qPrintable(QString::number(kept.size())));
        // The usable leading entries are kept as they were.
        if (key != QLatin1String("keydefine_Q7/1")) {
            for (int i = 0; i < 4; ++i)
                QCOMPARE(kept.at(i).toInt(), i);
        }
        for (const QVariant& entry : kept)
            QVERIFY(entry.toString().size() <= 32);
        QVERIFY(read.toList().size() <= 512);

        profiles->current()->sync();
        const qint64 size = QFileInfo(profiles->slotFilePath(profiles->currentProfile())).size();
        QVERIFY2(size < 64 * 1024, qPrintable(QString::number(size)));
    }

    // The same slots reached the way the documents reach them: script values converted by
    // the engine (text where numbers are expected, huge and negative numbers, arrays of the
    // wrong length, undefined).
    void slotsFromScript_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::newRow("numbers as text") << "v.ui_01H_SetReportRate('abc');"
                                            "v.ui_0BH_SetCurrentDPIStage('1e309');"
                                            "v.ui_02H_SetCurrentProfile('-1');"
                                            "v.loadDefaultProfile('');"
                                            "v.ui_90H_GetLED8StageColor('x');"
                                            "v.ui_92H_GetUserPicture(-1);";
        QTest::newRow("huge and negative numbers")
            << "v.ui_02H_SetCurrentProfile(1e309); v.resetProfile(-2147483648);"
               "v.loadDefaultProfile(1e12); v.ui_91H_GetMacroKey(-1); v.ui_93H_GetMacroKey(300);"
               "v.ui_94H_GetColor(1e9); v.setCursorSpeed(-1); v.setVerticalScrollLines(1e10);"
               "v.setDoubleClickSpeed(-5); v.playMedia_Index(1e309);"
               "v.getKeydefine(1e309); v.getKeydefine(-1);";
        QTest::newRow("arrays of the wrong length")
            << "var big = []; for (var i = 0; i < 5000; ++i) big.push(i * 7919);"
               "v.ui_0DH_SetKeyMatrix([]); v.ui_0DH_SetKeyMatrix(big);"
               "v.ui_0EH_SetKeyOnOff([1]); v.ui_10H_SetLED8StageColor(0, big);"
               "v.ui_11H_SetDPISet(200, [], big); v.ui_11H_SetDPISet(0, big, []);"
               "v.ui_12H_SetUserPicture(255, 255, big); v.ui_12H_SetKeyMatrix([-1]);"
               "v.ui_0DH_SetRGBLedEffect(1, 2, 3, big); v.saveApConfig(big);"
               "v.setMacroIniConfig('M1', big); v.macroIncode(big.map(String));";
        QTest::newRow("undefined and objects")
            << "v.getKeydefine(undefined); v.deleteMacroIni(undefined);"
               "v.loadMacroIni({a: 1}); v.saveMacroIni(null, ['x']);"
               "v.renameMacroIniFile('../x', '../../y'); v.ui_13H_SetMacroKey({}, '../x');"
               "v.ui_11H_SetMacroKey(-1, 'a/b'); v.setMacroIniConfig(undefined, undefined);"
               "v.getGlobalStrings('../../x'); v.getProductLayoutStrings_Q7('');"
               "v.saveApConfig(undefined);";
    }

    void slotsFromScript()
    {
        QFETCH(QString, expression);
        m_device->hid.currentDevice = 1;
        const QSet<QString> before = treeOf(m_outer.path());
        QQmlEngine engine;
        engine.rootContext()->setContextProperty("ui_View", m_view.get());
        QQmlComponent c(&engine);
        c.setData("import QtQuick 2.15\n"
                  "QtObject {\n"
                  "  function go() { var v = ui_View; " +
                      expression.toUtf8() +
                      " return true; }\n"
                      "}\n",
                  QUrl());
        std::unique_ptr<QObject> doc(c.create());
        QVERIFY2(doc, qPrintable(c.errorString()));
        QElapsedTimer t;
        t.start();
        QVariant ok;
        QVERIFY(QMetaObject::invokeMethod(doc.get(), "go", Q_RETURN_ARG(QVariant, ok)));
        QVERIFY(m_device->hid.waitForIdle(int(kCallBoundMs)));
        QVERIFY2(t.elapsed() < 4 * kCallBoundMs, qPrintable(QString::number(t.elapsed())));
        QVERIFY(ok.toBool());
        const QString escaped = newFilesOutsideFolders(before);
        QVERIFY2(escaped.isEmpty(), qPrintable("created " + escaped));
    }
};

QTEST_MAIN(TestSlotRobustness)
#include "tst_slotrobustness.moc"
