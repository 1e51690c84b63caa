#pragma once

#include <QString>

class QWidget;

// Every dialog the backend shows goes through this seam, so tests answer them without a
// person and the program shows real Qt dialogs.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // File-open dialog; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    // File-save dialog; empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    // Modal warning box with one OK button.
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // Modal warning box with OK and Cancel; true when the user chose OK.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;

    // The dialogs in use: real Qt dialogs unless a test installed its own.
    static Dialogs& instance();
    // Installs d (not owned) in place of the real dialogs; nullptr restores them.
    static void install(Dialogs* d);
};

// A scripted answerer for tests: returns the queued answers and records what was shown.
class ScriptedDialogs : public Dialogs
{
public:
    QString nextOpen, nextSave;
    bool nextConfirm = false;
    int warnings = 0, confirms = 0, opens = 0, saves = 0;
    QString lastTitle, lastText, lastCaption, lastFilter;

    QString openFileName(QWidget*, const QString& caption, const QString&,
                         const QString& filter) override
    {
        ++opens;
        lastCaption = caption;
        lastFilter = filter;
        return nextOpen;
    }
    QString saveFileName(QWidget*, const QString& caption, const QString&,
                         const QString& filter) override
    {
        ++saves;
        lastCaption = caption;
        lastFilter = filter;
        return nextSave;
    }
    void warning(QWidget*, const QString& title, const QString& text) override
    {
        ++warnings;
        lastTitle = title;
        lastText = text;
    }
    bool confirm(QWidget*, const QString& title, const QString& text) override
    {
        ++confirms;
        lastTitle = title;
        lastText = text;
        return nextConfirm;
    }
};
