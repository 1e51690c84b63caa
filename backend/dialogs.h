#pragma once

#include <QString>
#include <memory>

class QMessageBox;
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
    // Modal warning box for a notice another process sent: one OK button that is not the
    // default, so an Enter typed for another window does not dismiss it unread. Seams
    // that do not tell notices apart treat it as a warning.
    virtual void notice(QWidget* parent, const QString& title, const QString& text)
    {
        warning(parent, title, text);
    }

    // The box notice() shows, built but not yet shown.
    static std::unique_ptr<QMessageBox> makeNoticeBox(QWidget* parent, const QString& title,
                                                      const QString& text);

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
    // A notice is also counted and recorded as a warning.
    int warnings = 0, notices = 0, confirms = 0, opens = 0, saves = 0;
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
    void notice(QWidget* parent, const QString& title, const QString& text) override
    {
        ++notices;
        warning(parent, title, text);
    }
    bool confirm(QWidget*, const QString& title, const QString& text) override
    {
        ++confirms;
        lastTitle = title;
        lastText = text;
        return nextConfirm;
    }
};
