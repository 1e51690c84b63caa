#include "dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace
{

class QtDialogs : public Dialogs
{
public:
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }
    void warning(QWidget* parent, const QString& title, const QString& text) override
    {
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
    }
    bool confirm(QWidget* parent, const QString& title, const QString& text) override
    {
        return QMessageBox::warning(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    }
    void notice(QWidget* parent, const QString& title, const QString& text) override
    {
        makeNoticeBox(parent, title, text)->exec();
    }
};

// A warning box whose single OK button is never the default. The button box makes its
// first accepting button the default as it is shown, and a focused auto-default button
// makes itself the default; both are undone here so Enter does not press OK.
class NoticeBox : public QMessageBox
{
public:
    NoticeBox(const QString& title, const QString& text, QWidget* parent)
        : QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent)
    {
        if (auto* ok = qobject_cast<QPushButton*>(button(QMessageBox::Ok)))
            ok->setAutoDefault(false);
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        for (QPushButton* b : findChildren<QPushButton*>())
            b->setDefault(false);
    }
};

Dialogs* g_installed = nullptr;

} // namespace

Dialogs& Dialogs::instance()
{
    static QtDialogs real;
    return g_installed ? *g_installed : real;
}

void Dialogs::install(Dialogs* d)
{
    g_installed = d;
}

std::unique_ptr<QMessageBox> Dialogs::makeNoticeBox(QWidget* parent, const QString& title,
                                                    const QString& text)
{
    return std::unique_ptr<QMessageBox>(new NoticeBox(title, text, parent));
}
