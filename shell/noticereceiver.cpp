#include "noticereceiver.h"

#include "dialogs.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>
#include <cstring>
#include <unistd.h>

QString NoticeReceiver::defaultServerName()
{
    const QString name = QStringLiteral("q7config-notice-%1").arg(::getuid());
    // The user's private runtime folder keeps other users from taking or blocking the
    // name; without one the socket goes to the shared temporary folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return name;
}

std::optional<QString> NoticeReceiver::noticeText(quint32 code, const char* data, quint32 count)
{
    if (code != kNoticeCode || (!data && count > 0))
        return std::nullopt;
    const int length = data ? int(qstrnlen(data, count)) : 0;
    const QString text = QString::fromUtf8(data, length);
    // A counted terminator, bytes after a NUL or broken UTF-8 all change the length.
    if (quint32(text.toUtf8().size()) != count)
        return std::nullopt;
    return text;
}

NoticeReceiver::NoticeReceiver(QWidget* window, const QString& serverName, QObject* parent)
    : QObject(parent), m_window(window), m_name(serverName)
{
    connect(&m_server, &QLocalServer::newConnection, this, &NoticeReceiver::onNewConnection);
}

NoticeReceiver::~NoticeReceiver()
{
    m_server.close();
}

bool NoticeReceiver::listen()
{
    if (m_server.isListening())
        return true;
    // Only a live receiver accepts a connection; a socket file that refuses is stale.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(200)) {
        probe.abort();
        qWarning().noquote() << "Another configurator already receives notices as" << m_name;
        return false;
    }
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_name)) {
        qWarning().noquote() << "Cannot receive notices:" << m_server.errorString();
        return false;
    }
    return true;
}

void NoticeReceiver::onNewConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        Pending& p = m_pending[socket];
        p.deadline = new QTimer(socket);
        p.deadline->setSingleShot(true);
        connect(p.deadline, &QTimer::timeout, this, [this, socket] { drop(socket); });
        p.deadline->start(kReadTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        // A sender writes and hangs up at once: take what it left before forgetting it.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readFrom(socket);
            drop(socket);
        });
        readFrom(socket);
    }
}

void NoticeReceiver::readFrom(QLocalSocket* socket)
{
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    QByteArray& buf = it->buffer;

    if (buf.size() < kHeaderBytes)
        buf += socket->read(kHeaderBytes - buf.size());
    if (buf.size() < kHeaderBytes)
        return;
    const auto* head = reinterpret_cast<const uchar*>(buf.constData());
    const quint32 code = qFromLittleEndian<quint32>(head);
    const quint32 count = qFromLittleEndian<quint32>(head + 4);
    if (count > kMaxBytes) {
        // Refused unread; the sender hears nothing more from us.
        emit noticeHandled(false);
        drop(socket);
        return;
    }
    // Never take more than the notice itself from the socket.
    const int want = kHeaderBytes + int(count);
    if (buf.size() < want)
        buf += socket->read(want - buf.size());
    if (buf.size() < want)
        return;

    const QByteArray body = buf.mid(kHeaderBytes, int(count));
    drop(socket);
    handleNotice(code, body.constData(), count);
}

void NoticeReceiver::drop(QLocalSocket* socket)
{
    if (!m_pending.remove(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void NoticeReceiver::handleNotice(quint32 code, const char* data, quint32 count)
{
    std::optional<QString> text;
    if (m_window)
        text = noticeText(code, data, count);
    emit noticeHandled(bool(text));
    if (!text)
        return;
    // The box is modal; show it from the event loop rather than inside a socket handler.
    QTimer::singleShot(0, this, [this, t = *text] {
        if (m_window)
            Dialogs::instance().notice(nullptr, m_window->windowTitle(), t);
    });
}

bool NoticeReceiver::send(const QString& text, const QString& serverName, int timeoutMs,
                          QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QByteArray bytes = text.toUtf8();
    if (quint32(bytes.size()) > kMaxBytes)
        return fail(QStringLiteral("the text is longer than %1 bytes").arg(kMaxBytes));

    QByteArray message(kHeaderBytes, '\0');
    qToLittleEndian<quint32>(kNoticeCode, message.data());
    qToLittleEndian<quint32>(quint32(bytes.size()), message.data() + 4);
    message += bytes;

    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs)) {
        const auto e = socket.error();
        if (e == QLocalSocket::ServerNotFoundError || e == QLocalSocket::ConnectionRefusedError)
            return fail(QStringLiteral("no running configurator receives notices"));
        return fail(
            QStringLiteral("cannot reach the running configurator (%1)").arg(socket.errorString()));
    }
    socket.write(message);
    QElapsedTimer clock;
    clock.start();
    while (socket.bytesToWrite() > 0) {
        const int left = timeoutMs - int(clock.elapsed());
        if (left <= 0 || !socket.waitForBytesWritten(left))
            return fail(
                QStringLiteral("the notice could not be delivered (%1)").arg(socket.errorString()));
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(qMax(1, timeoutMs - int(clock.elapsed())));
    return true;
}
