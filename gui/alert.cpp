#include "alert.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

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

// The list is what is asked about: it shows at once, not behind a button,
// and scrolls when it is long.
bool QtAlert::ask(const QString& question, const QString& details, const QString& confirm)
{
    QDialog box(parent_);
    box.setWindowTitle(question);
    auto* layout = new QVBoxLayout(&box);
    auto* text = new QLabel(question, &box);
    text->setTextFormat(Qt::PlainText);
    QFont bold = text->font();
    bold.setBold(true);
    text->setFont(bold);
    layout->addWidget(text);
    auto* list = new QPlainTextEdit(details, &box);
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setAccessibleName(QStringLiteral("What will be done"));
    const int lines = std::clamp(static_cast<int>(details.count(QLatin1Char('\n'))) + 2, 3, 16);
    list->setMinimumSize(600, lines * list->fontMetrics().lineSpacing() + 2 * list->frameWidth() + 8);
    layout->addWidget(list, 1);
    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* yes = buttons->addButton(confirm, QDialogButtonBox::AcceptRole);
    QPushButton* no = buttons->addButton(QDialogButtonBox::Cancel);
    yes->setAutoDefault(false);
    no->setDefault(true);  // nothing happens by a stray Return
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    no->setFocus();
    return box.exec() == QDialog::Accepted;
}
