#include "alert.h"

#include <QMessageBox>

void QtAlert::show(const QString& messageText, const QString& informativeText, const QString& button)
{
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(messageText);
    box.setText(messageText);
    box.setInformativeText(informativeText);  // plain text: never read as a format
    box.setTextFormat(Qt::PlainText);
    box.addButton(button, QMessageBox::AcceptRole);
    box.exec();
}

void QtAlert::showAbout(const QString& title, const QString& text)
{
    QMessageBox::about(parent_, title, text);
}
