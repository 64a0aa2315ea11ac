#include "alert.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

void QtAlert::show(const QString& messageText, const QString& informativeText, const QString& button)
{
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(messageText);
    box.setText(messageText);
    box.setInformativeText(informativeText);  // plain text: never read as a format
    box.setTextFormat(Qt::PlainText);
    // A path or a file's name in it can be copied.
    if (auto* informative = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.addButton(button, QMessageBox::AcceptRole);
    box.exec();
}

void QtAlert::showAbout(const QString& title, const QString& text)
{
    QMessageBox::about(parent_, title, text);
}

bool QtAlert::ask(const QString& question, const QString& details, const QString& confirm)
{
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::Question);
    box.setText(question);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(details);
    QPushButton* yes = box.addButton(confirm, QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);  // nothing happens by a stray Return
    box.exec();
    return box.clickedButton() == yes;
}
