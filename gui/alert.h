#pragma once

#include <QString>

class QWidget;

// A modal message with one button; returns when the user has closed it.
class Alert {
public:
    virtual ~Alert() = default;
    virtual void show(const QString& messageText, const QString& informativeText, const QString& button) = 0;
    // The program's About box: `text` is rich text, its links open in the browser.
    virtual void showAbout(const QString& title, const QString& text) = 0;
    // A question before something is done, with `details` (plain text, a
    // line each) shown whole below it, scrolling when long; true when the
    // user confirms with `confirm`, false when they cancel.
    virtual bool ask(const QString& question, const QString& details, const QString& confirm) = 0;
};

class QtAlert : public Alert {
public:
    explicit QtAlert(QWidget* parent) : parent_(parent) {}
    void show(const QString& messageText, const QString& informativeText, const QString& button) override;
    void showAbout(const QString& title, const QString& text) override;
    bool ask(const QString& question, const QString& details, const QString& confirm) override;

private:
    QWidget* parent_;
};
