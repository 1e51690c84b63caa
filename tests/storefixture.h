#pragma once

#include "dialogs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QScopedPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Helpers of the store tests: whole-file reads and writes, and per test function a fresh
// temporary folder with scripted dialogs installed.

inline bool writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Derive the test class from it after QObject; call setUpFolder() from init() and
// tearDownDialogs() from cleanup().
class StoreFixture
{
protected:
    // A new temporary folder holding the given subfolders, and fresh scripted dialogs.
    bool setUpFolder(const QStringList& subfolders)
    {
        m_dir.reset(new QTemporaryDir);
        if (!m_dir->isValid())
            return false;
        for (const QString& sub : subfolders) {
            if (!QDir().mkpath(m_dir->path() + QLatin1Char('/') + sub))
                return false;
        }
        m_dialogs = ScriptedDialogs();
        Dialogs::install(&m_dialogs);
        return true;
    }
    void tearDownDialogs() { Dialogs::install(nullptr); }

    QScopedPointer<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
};
