#include "dialogs.h"
#include "noticereceiver.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QWidget>
#include <QtEndian>
#include <QtTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Text notices from other processes: the rules that decide what is shown, and the local
// socket that carries them.
class TestShellNotice : public QObject
{
    Q_OBJECT

    QWidget m_window;
    ScriptedDialogs m_dialogs;

    static QString testServerName()
    {
        return QStringLiteral("q7config-notice-test-%1").arg(QCoreApplication::applicationPid());
    }
    static QByteArray header(quint32 code, quint32 count)
    {
        QByteArray h(8, '\0');
        qToLittleEndian<quint32>(code, h.data());
        qToLittleEndian<quint32>(count, h.data() + 4);
        return h;
    }

private slots:
    void initTestCase()
    {
        m_window.setWindowTitle("Host Title");
        Dialogs::install(&m_dialogs);
    }
    void cleanupTestCase() { Dialogs::install(nullptr); }
    void init() { m_dialogs = ScriptedDialogs(); }

    void rules_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<quint32>("count");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("text");
        const QByteArray hello("hello\0", 6);
        QTest::newRow("word, count 5") << 9487u << hello << 5u << true << "hello";
        QTest::newRow("terminator counted") << 9487u << hello << 6u << false << "";
        QTest::newRow("other code") << 9488u << hello << 5u << false << "";
        QTest::newRow("no NUL: stops at the count")
            << 9487u << QByteArray("helloworld") << 5u << true << "hello";
        QTest::newRow("bytes after a NUL")
            << 9487u << QByteArray("hi\0there", 8) << 8u << false << "";
        QTest::newRow("multi-byte UTF-8") << 9487u << QByteArray("gr\xc3\xbc\xc3\x9f") << 6u << true
                                          << QString::fromUtf8("gr\xc3\xbc\xc3\x9f");
        QTest::newRow("count inside a character")
            << 9487u << QByteArray("gr\xc3\xbc") << 3u << false << "";
        QTest::newRow("broken UTF-8") << 9487u
                                      << QByteArray("a\xff"
                                                    "b")
                                      << 3u << false << "";
    }
    void rules()
    {
        QFETCH(quint32, code);
        QFETCH(QByteArray, buffer);
        QFETCH(quint32, count);
        QFETCH(bool, shown);
        QFETCH(QString, text);
        const std::optional<QString> got =
            NoticeReceiver::noticeText(code, buffer.constData(), count);
        QCOMPARE(bool(got), shown);
        if (shown)
            QCOMPARE(*got, text);
    }

    void handledNoticesShowAsWarningsWithTheWindowTitle()
    {
        NoticeReceiver r(&m_window, testServerName());
        QSignalSpy handled(&r, &NoticeReceiver::noticeHandled);
        r.handleNotice(9487, "hello", 5);
        r.handleNotice(9487, "hello", 6);
        r.handleNotice(9488, "hello", 5);
        QCOMPARE(handled.count(), 3); // every notice counts as handled
        QTRY_COMPARE(m_dialogs.warnings, 1);
        QTest::qWait(50);
        QCOMPARE(m_dialogs.warnings, 1);
        QCOMPARE(m_dialogs.notices, 1); // the notice box, not a plain warning
        QCOMPARE(m_dialogs.lastText, QString("hello"));
        QCOMPARE(m_dialogs.lastTitle, QString("Host Title"));
    }

    void theNoticeBoxHasOneOkButtonAndNoDefault()
    {
        const auto box = Dialogs::makeNoticeBox(nullptr, "Host Title", "hello");
        QCOMPARE(box->parentWidget(), nullptr);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->windowTitle(), QString("Host Title"));
        QCOMPARE(box->text(), QString("hello"));
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box->buttons().size(), 1);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        // A shown dialog picks a default for itself unless none qualifies.
        QCOMPARE(box->defaultButton(), nullptr);
        for (const QPushButton* b : box->findChildren<QPushButton*>())
            QVERIFY2(!b->isDefault(), qPrintable(b->text()));
        // Enter meant for another window leaves the notice up; OK closes it.
        QTest::keyClick(box.get(), Qt::Key_Return);
        QTest::keyClick(box->button(QMessageBox::Ok), Qt::Key_Return);
        QVERIFY(box->isVisible());
        box->button(QMessageBox::Ok)->click();
        QVERIFY(!box->isVisible());
        QCOMPARE(box->result(), int(QMessageBox::Ok));
    }

    void withoutAWindowNothingIsShown()
    {
        NoticeReceiver r(nullptr, testServerName());
        QSignalSpy handled(&r, &NoticeReceiver::noticeHandled);
        r.handleNotice(9487, "hello", 5);
        QCOMPARE(handled.count(), 1);
        QCOMPARE(handled.at(0).at(0).toBool(), false);
        QTest::qWait(50);
        QCOMPARE(m_dialogs.warnings, 0);
    }

    void aNoticeTravelsOverTheSocket()
    {
        NoticeReceiver r(&m_window, testServerName());
        QVERIFY(r.listen());
        QString error;
        // The sender blocks the thread (bounded), so the receiver reads after it returns.
        QVERIFY2(NoticeReceiver::send(QString::fromUtf8("Firmware \xe2\x9c\x93"), testServerName(),
                                      2000, &error),
                 qPrintable(error));
        QTRY_COMPARE(m_dialogs.warnings, 1);
        QCOMPARE(m_dialogs.lastText, QString::fromUtf8("Firmware \xe2\x9c\x93"));
    }

    void malformedMessagesAreDroppedWithinTheBound_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("handled");
        QTest::newRow("short header") << QByteArray("\x0f\x25", 2) << false;
        QTest::newRow("body shorter than its count") << header(9487, 10) + "hello" << false;
        QTest::newRow("count over the cap") << header(9487, 0x7fffffff) + "hello" << true;
    }
    void malformedMessagesAreDroppedWithinTheBound()
    {
        QFETCH(QByteArray, message);
        QFETCH(bool, handled);
        NoticeReceiver r(&m_window, testServerName());
        QVERIFY(r.listen());
        QSignalSpy spy(&r, &NoticeReceiver::noticeHandled);
        QLocalSocket s;
        s.connectToServer(testServerName());
        QVERIFY(s.waitForConnected(1000));
        s.write(message);
        QVERIFY(s.waitForBytesWritten(1000));
        // The sender stays connected: only the receiver's own deadline (or its refusal)
        // ends the connection.
        QTRY_COMPARE_WITH_TIMEOUT(s.state(), QLocalSocket::UnconnectedState,
                                  NoticeReceiver::kReadTimeoutMs + 1500);
        QCOMPARE(spy.count(), handled ? 1 : 0);
        if (handled)
            QCOMPARE(spy.at(0).at(0).toBool(), false);
        QTest::qWait(50);
        QCOMPARE(m_dialogs.warnings, 0);
        // The receiver still takes the next notice.
        QVERIFY(NoticeReceiver::send("after", testServerName(), 2000));
        QTRY_COMPARE(m_dialogs.lastText, QString("after"));
    }

    void aSecondReceiverDoesNotStealTheName()
    {
        NoticeReceiver first(&m_window, testServerName());
        QVERIFY(first.listen());
        NoticeReceiver second(&m_window, testServerName());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Another configurator.*"));
        QVERIFY(!second.listen());
        QVERIFY(NoticeReceiver::send("to the first", testServerName(), 2000));
        QSignalSpy spy(&first, &NoticeReceiver::noticeHandled);
        QTRY_COMPARE(spy.count(), 1);
    }

    void aStaleSocketIsReplaced()
    {
        // What a crashed configurator leaves behind: a socket file nobody listens on.
        const QString path = QDir::temp().filePath(testServerName() + "-stale");
        QFile::remove(path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray encoded = QFile::encodeName(path);
        QVERIFY(size_t(encoded.size()) < sizeof(addr.sun_path));
        std::memcpy(addr.sun_path, encoded.constData(), size_t(encoded.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(path));

        NoticeReceiver r(&m_window, path);
        QVERIFY(r.listen());
        QVERIFY(NoticeReceiver::send("revived", path, 2000));
        QTRY_COMPARE(m_dialogs.lastText, QString("revived"));
    }

    void sendingWithoutAReceiverFailsQuickly()
    {
        QElapsedTimer t;
        t.start();
        QString error;
        QVERIFY(!NoticeReceiver::send("nobody", testServerName() + "-absent", 500, &error));
        QVERIFY(t.elapsed() < 2000);
        QVERIFY(!error.isEmpty());
    }

    void oversizedTextIsNotSent()
    {
        QString error;
        const QString big(int(NoticeReceiver::kMaxBytes) + 1, QChar('x'));
        QVERIFY(!NoticeReceiver::send(big, testServerName() + "-absent", 500, &error));
        QVERIFY(error.contains("longer"));
    }
};

QTEST_MAIN(TestShellNotice)
#include "tst_shell_notice.moc"
