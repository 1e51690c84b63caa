#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <QWidget>

class Hid_Thread;
class myQQuickView;

// Window operations for the UI documents (published as `ui_Ctl`): the host window is
// frameless, so the documents move and close it through these slots.
//
// Building the controller dresses the host window (flags, translucency, size, title),
// creates the view host as its child, loads the root document and only then publishes
// `ui_View`, `hid` and `ui_Ctl` to the documents.
class Ui_Controler : public QObject
{
    Q_OBJECT
public:
    // The window's size when the root document gives none (it failed to load).
    static constexpr int kDefaultWidth = 1000;
    static constexpr int kDefaultHeight = 600;

    // The compiled-in root document.
    static QUrl defaultSource();
    // Where the window title comes from ("common/name").
    static QString apConfigPath();

    // host: the host window; hid: the transport published as `hid`; source: the root
    // document, empty for defaultSource().
    Ui_Controler(QWidget* host, Hid_Thread* hid, const QUrl& source = QUrl());

    // Guarded: the controller is deleted later than the window and its view.
    QPointer<QWidget> hostWindow;
    QPointer<myQQuickView> view;

public slots:
    // Closes the host window, which ends the application.
    void onMinimize();
    void onXChanged(int x);
    void onYChanged(int y);
    // Locks the documents' UI for busyTime ms (root function "setProtectUI", direct call).
    void setBusy(int busyTime);
    void setBusy();
};
