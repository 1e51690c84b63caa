#pragma once

// Helpers shared by the shell and view-host tests: host windows on a virtual mouse, the
// recording root documents under tests/qml/ and reading what they recorded.

#include "virtualmouse.h"
#include "widget.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJSValue>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QtGlobal>
#include <memory>

inline QString shellSourceDir()
{
    const QString dir = qEnvironmentVariable("Q7_SOURCE_DIR");
    return dir.isEmpty() ? QStringLiteral(".") : dir;
}

// Copies the folder tree from into to (a runtime folder for tests that change files).
inline bool copyTree(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else if (!QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

// tests/qml/<name>/main.qml of the source tree.
inline QUrl testDocument(const QString& name)
{
    return QUrl::fromLocalFile(shellSourceDir() + QStringLiteral("/tests/qml/") + name +
                               QStringLiteral("/main.qml"));
}

// A root property as plain variants (script arrays arrive wrapped).
inline QVariant rootValue(QObject* root, const char* name)
{
    if (!root)
        return {};
    QVariant v = root->property(name);
    if (v.userType() == qMetaTypeId<QJSValue>())
        v = v.value<QJSValue>().toVariant();
    return v;
}

inline QStringList rootLog(QObject* root)
{
    return rootValue(root, "log").toStringList();
}

// A host window on the given root document whose transport talks to mouse.
inline std::unique_ptr<Widget> makeHostWindow(const QUrl& source, VirtualMouse& mouse)
{
    std::unique_ptr<Widget> w(new Widget(nullptr, source));
    w->hid.setBackend(&mouse);
    return w;
}
