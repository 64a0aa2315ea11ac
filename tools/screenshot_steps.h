#pragma once

#include "gui/alert.h"
#include "gui/file_chooser.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>

// What the screenshot tool does between the window's steps: wait, answer,
// and take the picture.

// Lets the window paint itself.
inline void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done`: the jobs wake it when they hand back.
template <typename Done>
void waitUntil(const Done& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Takes the whole screen soon, with whatever modal dialog or menu is open
// then, and closes them; `saved` says whether the picture was written.
inline void grabScreenSoon(const QString& out, bool& saved)
{
    QTimer::singleShot(300, [&saved, out] {
        saved = QGuiApplication::primaryScreen()->grabWindow(0).save(out);
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
}

// The fill's folder chooser answered with the folder given.
struct ScriptedChooser : FileChooser {
    std::optional<QString> choose(const ChooserOptions&) override { return answer; }
    QString answer;
};

// Every question answered yes; or, to take its picture, one shown for real
// (`shownInto`: the picture's file, of an alert too), which the picture
// closes as a cancel.
struct ConfirmingAlert : QtAlert {
    ConfirmingAlert() : QtAlert(nullptr) {}
    bool ask(const QString& question, const QString& details, const QString& confirm) override
    {
        if (shownInto.isEmpty())
            return true;
        grabScreenSoon(shownInto, shown);
        return QtAlert::ask(question, details, confirm);
    }
    void show(const QString& messageText, const QString& informativeText, const QString& button) override
    {
        if (!shownInto.isEmpty())
            grabScreenSoon(shownInto, shown);
        QtAlert::show(messageText, informativeText, button);
    }
    QString shownInto;
    bool shown = false;
};
