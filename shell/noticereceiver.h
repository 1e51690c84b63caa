#pragma once

#include <QByteArray>
#include <QHash>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class QLocalSocket;
class QTimer;

// Text notices from other processes, shown as a warning box over the configurator.
//
// Wire format of one notice (one per connection): code as little-endian uint32, byte count
// as little-endian uint32, then that many bytes of UTF-8 text. Only code kNoticeCode is
// shown, and only when the text up to the first NUL encodes back to exactly the byte
// count; every complete notice counts as handled either way.
class NoticeReceiver : public QObject
{
    Q_OBJECT
public:
    static constexpr quint32 kNoticeCode = 9487;
    // Larger notices are refused unread: nobody sends a 64 KiB warning on purpose.
    static constexpr quint32 kMaxBytes = 64 * 1024;
    // A sender has this long to deliver its whole notice.
    static constexpr int kReadTimeoutMs = 2000;
    static constexpr int kHeaderBytes = 8;

    // "q7config-notice-<uid>", in the user's runtime folder when there is one: one
    // receiver per user.
    static QString defaultServerName();

    // The text a notice shows, or nothing. Reads data up to the first NUL and never past
    // count bytes.
    static std::optional<QString> noticeText(quint32 code, const char* data, quint32 count);

    // window: the context; its title is the caption of the box, and without it nothing is
    // shown.
    explicit NoticeReceiver(QWidget* window, const QString& serverName = defaultServerName(),
                            QObject* parent = nullptr);
    ~NoticeReceiver() override;

    // Starts listening. False when another running instance already owns the name or the
    // socket cannot be made; a stale socket left by a crashed instance is replaced.
    bool listen();
    bool isListening() const { return m_server.isListening(); }
    QString serverName() const { return m_name; }

    // Applies the rules to one notice and shows the box (from the event loop) when they
    // allow it.
    void handleNotice(quint32 code, const char* data, quint32 count);

    // Sends one notice with the text to a running receiver; every wait is bounded by
    // timeoutMs. On failure returns false and says why in *error.
    static bool send(const QString& text, const QString& serverName = defaultServerName(),
                     int timeoutMs = 2000, QString* error = nullptr);

signals:
    // A complete notice was handled; shown says whether it will be shown.
    void noticeHandled(bool shown);

private slots:
    void onNewConnection();

private:
    struct Pending {
        QByteArray buffer;
        QTimer* deadline = nullptr;
    };
    void readFrom(QLocalSocket* socket);
    void drop(QLocalSocket* socket);

    QPointer<QWidget> m_window;
    QString m_name;
    QLocalServer m_server;
    QHash<QLocalSocket*, Pending> m_pending;
};
