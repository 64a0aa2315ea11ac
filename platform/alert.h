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
};

class QtAlert : public Alert {
public:
    explicit QtAlert(QWidget* parent) : parent_(parent) {}
    void show(const QString& messageText, const QString& informativeText, const QString& button) override;
    void showAbout(const QString& title, const QString& text) override;

private:
    QWidget* parent_;
};
