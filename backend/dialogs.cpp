#include "dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

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
