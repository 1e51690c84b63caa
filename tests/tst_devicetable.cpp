// The device table reader and the scrambling code loader.
#include "devicetable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

class TestDeviceTable : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // Each case gets a fresh file: the settings cache must never hand back an older text.
    QString writeFile(const QByteArray& text)
    {
        const QString path = m_dir.filePath(QStringLiteral("f%1.ini").arg(++m_files));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(text);
        return path;
    }

    static void setCode(const char* six)
    {
        std::memset(SecrecyCode, 0, sizeof SecrecyCode);
        std::memcpy(SecrecyCode + 1, six, 6);
    }

    static QByteArray codeBytes() { return QByteArray(reinterpret_cast<char*>(SecrecyCode), 8); }

private slots:
    void shippedTable()
    {
        QFile f(QStringLiteral(":/DevInfo.ini"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray raw = f.readAll();
        QCOMPARE(raw.size(), 327);
        QVERIFY(raw.endsWith("\r\n"));
        QCOMPARE(raw.count('\n'), raw.count("\r\n"));

        isEncode = false;
        const QString config = writeFile("[common]\r\nproduct_name=Keyboard, Q7\r\n");
        const QList<DeviceDescriptor> table =
            readDeviceTable(QStringLiteral(":/DevInfo.ini"), config);
        QVERIFY(isEncode);
        QCOMPARE(table.size(), 2);
        const DeviceDescriptor& kb = table.at(0);
        QCOMPARE(kb.type, 0);
        QCOMPARE(kb.vid, quint16(0x04D9));
        QCOMPARE(kb.pid, quint16(0x8008));
        QCOMPARE(kb.usagePage, quint16(0xFF01));
        QCOMPARE(kb.usage, quint16(0x0001));
        QCOMPARE(kb.usagePage2, quint16(0xFF02));
        QCOMPARE(kb.usage2, quint16(0x0001));
        QCOMPARE(kb.reportLength, 64u);
        QCOMPARE(kb.name, QStringLiteral("Keyboard"));
        const DeviceDescriptor& mouse = table.at(1);
        QCOMPARE(mouse.type, 1);
        QCOMPARE(mouse.vid, quint16(0x04D9));
        QCOMPARE(mouse.pid, quint16(0xA09F));
        QCOMPARE(mouse.usagePage, quint16(0xFF00));
        QCOMPARE(mouse.usage, quint16(0xFF00));
        QCOMPARE(mouse.usagePage2, quint16(0xFF01));
        QCOMPARE(mouse.usage2, quint16(0xFF01));
        QCOMPARE(mouse.reportLength, 32u);
        QCOMPARE(mouse.name, QStringLiteral("Q7"));
    }

    // One section's keys as written in the table, and what the descriptor must hold.
    void sectionValues_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("usagePage");
        QTest::addColumn<uint>("reportLength");

        QTest::newRow("vid upper case") << QByteArray("type=1\nvid=04D9") << 1 << 0x04D9 << 0 << 0u;
        QTest::newRow("vid lower case") << QByteArray("type=1\nvid=04d9") << 1 << 0x04D9 << 0 << 0u;
        QTest::newRow("vid without zero")
            << QByteArray("type=1\nvid=4d9") << 1 << 0x04D9 << 0 << 0u;
        QTest::newRow("wider than 16 bits keeps the low bits")
            << QByteArray("vid=1ffff\nusagePage=ABCDE") << -1 << 0xFFFF << 0xBCDE << 0u;
        QTest::newRow("type read as hexadecimal") << QByteArray("type=1a") << 0x1A << 0 << 0 << 0u;
        QTest::newRow("missing type") << QByteArray("vid=04d9") << -1 << 0x04D9 << 0 << 0u;
        QTest::newRow("malformed numbers read as 0")
            << QByteArray("type=zz\nvid=xyz\nusagePage=-\nreportLength=abc") << 0 << 0 << 0 << 0u;
        QTest::newRow("report length is decimal")
            << QByteArray("reportLength=32") << -1 << 0 << 0 << 32u;
        QTest::newRow("report length in hex form is malformed")
            << QByteArray("reportLength=0x20") << -1 << 0 << 0 << 0u;
        QTest::newRow("negative report length")
            << QByteArray("reportLength=-5") << -1 << 0 << 0 << 0u;
        QTest::newRow("empty section") << QByteArray() << -1 << 0 << 0 << 0u;
    }
    void sectionValues()
    {
        QFETCH(QByteArray, section);
        QFETCH(int, type);
        QFETCH(int, vid);
        QFETCH(int, usagePage);
        QFETCH(uint, reportLength);

        const QString table = writeFile("[common]\ntotal=1\n[0]\n" + section + "\n");
        const QList<DeviceDescriptor> list = readDeviceTable(table, writeFile(""));
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.at(0).type, type);
        QCOMPARE(int(list.at(0).vid), vid);
        QCOMPARE(int(list.at(0).usagePage), usagePage);
        QCOMPARE(list.at(0).reportLength, reportLength);
    }

    void encodeFlag_data()
    {
        QTest::addColumn<QByteArray>("common");
        QTest::addColumn<bool>("expected");

        QTest::newRow("true") << QByteArray("isEncode=true") << true;
        QTest::newRow("True") << QByteArray("isEncode=True") << true;
        QTest::newRow("FALSE") << QByteArray("isEncode=FALSE") << false;
        QTest::newRow("0") << QByteArray("isEncode=0") << false;
        QTest::newRow("1") << QByteArray("isEncode=1") << true;
        QTest::newRow("any other text") << QByteArray("isEncode=yes") << true;
        QTest::newRow("empty") << QByteArray("isEncode=") << false;
        QTest::newRow("missing") << QByteArray("total=0") << false;
    }
    void encodeFlag()
    {
        QFETCH(QByteArray, common);
        QFETCH(bool, expected);
        // Every reading overwrites the flag, so start from the opposite.
        isEncode = !expected;
        readDeviceTable(writeFile("[common]\n" + common + "\n"), writeFile(""));
        QCOMPARE(isEncode, expected);
    }

    void totalZeroStillReadsTheFlag()
    {
        isEncode = false;
        const QString table = writeFile("[common]\ntotal=0\nisEncode=true\n[0]\ntype=1\n");
        QVERIFY(readDeviceTable(table, writeFile("")).isEmpty());
        QVERIFY(isEncode);
    }

    void namesFromTheConfiguration_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("one name for two rows")
            << QByteArray("[common]\nproduct_name=Board\n") << QStringList{"Board", ""};
        QTest::newRow("two names")
            << QByteArray("[common]\nproduct_name=Board, Q7\n") << QStringList{"Board", "Q7"};
        QTest::newRow("no list") << QByteArray("[common]\nsCode1=123456\n") << QStringList{"", ""};
        QTest::newRow("no configuration file") << QByteArray() << QStringList{"", ""};
    }
    void namesFromTheConfiguration()
    {
        QFETCH(QByteArray, config);
        QFETCH(QStringList, names);
        const QString table = writeFile("[common]\ntotal=2\n[0]\ntype=0\n[1]\ntype=1\n");
        const QString configPath =
            config.isEmpty() ? m_dir.filePath(QStringLiteral("absent.bin")) : writeFile(config);
        const QList<DeviceDescriptor> list = readDeviceTable(table, configPath);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0).name, names.at(0));
        QCOMPARE(list.at(1).name, names.at(1));
    }

    void secrecyCode_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<uint>("device");
        QTest::addColumn<QByteArray>("expected"); // the eight bytes afterwards

        const QByteArray before = QByteArray("\0ZZZZZZ\0", 8);
        QTest::newRow("six characters load")
            << QByteArray("[common]\nsCode1=abc123\n") << 1u << QByteArray("\0abc123\0", 8);
        QTest::newRow("device 0 reads its own key")
            << QByteArray("[common]\nsCode0=000000\nsCode1=111111\n") << 0u
            << QByteArray("\0"
                          "000000\0",
                          8);
        QTest::newRow("missing code loads the default")
            << QByteArray("[common]\nsCode0=999999\n") << 1u
            << QByteArray("\0"
                          "284613\0",
                          8);
        QTest::newRow("five characters change nothing")
            << QByteArray("[common]\nsCode1=12345\n") << 1u << before;
        QTest::newRow("seven characters change nothing")
            << QByteArray("[common]\nsCode1=1234567\n") << 1u << before;
        QTest::newRow("empty code changes nothing")
            << QByteArray("[common]\nsCode1=\n") << 1u << before;
        QTest::newRow("a list is no code")
            << QByteArray("[common]\nsCode1=1,3456\n") << 1u << before;
        // The settings escape \x20ac is the euro sign, which has no Latin-1 byte.
        QTest::newRow("characters beyond Latin-1 give 0")
            << QByteArray("[common]\nsCode1=\"abcde\\x20ac\"\n") << 1u
            << QByteArray("\0abcde\0\0", 8);
    }
    void secrecyCode()
    {
        QFETCH(QByteArray, config);
        QFETCH(uint, device);
        QFETCH(QByteArray, expected);
        setCode("ZZZZZZ");
        loadSecrecyCode(device, writeFile(config));
        QCOMPARE(codeBytes().toHex(), expected.toHex());
    }
};

QTEST_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
