#pragma once

#include <QByteArray>
#include <QString>

// Replaces files without a window in which the old content is gone and the new one is not
// yet there: the new bytes go to a temporary file beside the target, which is then renamed
// over it. On any failure the target keeps its old content and the temporary file is removed.
class AtomicFile
{
public:
    // No size limit for copy().
    static constexpr qint64 kNoLimit = -1;

    // Replaces (or creates) target with a byte copy of source, which must be a plain file
    // (not a folder, pipe or device). A source larger than maxSize bytes is refused before
    // anything is written. On failure returns false and, when error
    // is given, says why.
    static bool copy(const QString& source, const QString& target, qint64 maxSize = kNoLimit,
                     QString* error = nullptr);

    // Replaces (or creates) target with data.
    static bool write(const QString& target, const QByteArray& data, QString* error = nullptr);
};
