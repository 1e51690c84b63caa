#include "atomicfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// QSettings keeps parsed files in a process-wide cache and re-reads one only when its
// modification time or size changed. A replacement written in the same millisecond as the
// file it replaces, with the same size, would go unnoticed, so its time is moved past the
// old one.
void ensureNewerThan(const QString& target, const QDateTime& oldTime)
{
    if (!oldTime.isValid())
        return;
    const QDateTime newTime = QFileInfo(target).lastModified();
    if (newTime > oldTime)
        return;
    QFile file(target);
    if (file.open(QIODevice::ReadOnly))
        file.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
}

bool commitNewer(QSaveFile& out, const QString& target, QString* error)
{
    const QFileInfo before(target);
    const QDateTime oldTime = before.exists() ? before.lastModified() : QDateTime();
    if (!out.commit()) {
        setError(error, QStringLiteral("cannot replace %1: %2").arg(target, out.errorString()));
        return false;
    }
    ensureNewerThan(target, oldTime);
    return true;
}

} // namespace

bool AtomicFile::copy(const QString& source, const QString& target, qint64 maxSize, QString* error)
{
    // Only plain files: opening a pipe would wait for a writer that may never come, and a
    // device such as /dev/zero never ends.
    if (!QFileInfo(source).isFile()) {
        setError(error, QStringLiteral("cannot read %1: not a plain file").arg(source));
        return false;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
        return false;
    }
    // Checked on the open file as well as by size(): a file that grows while it is copied is
    // refused when the bytes read pass the limit.
    if (maxSize >= 0 && in.size() > maxSize) {
        setError(error, QStringLiteral("%1 is larger than %2 bytes").arg(source).arg(maxSize));
        return false;
    }

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(target, out.errorString()));
        return false;
    }
    qint64 total = 0;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            setError(error, QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
            out.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
        total += n;
        if (maxSize >= 0 && total > maxSize) {
            setError(error, QStringLiteral("%1 is larger than %2 bytes").arg(source).arg(maxSize));
            out.cancelWriting();
            return false;
        }
        if (out.write(buffer, n) != n) {
            setError(error, QStringLiteral("cannot write %1: %2").arg(target, out.errorString()));
            out.cancelWriting();
            return false;
        }
    }
    return commitNewer(out, target, error);
}

bool AtomicFile::write(const QString& target, const QByteArray& data, QString* error)
{
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(target, out.errorString()));
        return false;
    }
    if (out.write(data) != data.size()) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(target, out.errorString()));
        out.cancelWriting();
        return false;
    }
    return commitNewer(out, target, error);
}
