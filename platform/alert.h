#pragma once

#include <QString>

class QWidget;

// A modal message with one button; returns when the user has closed it.
class Alert {
public:
    virtual ~Alert() = default;
    virtual void show(const QString& messageText, const QString& informativeText, const QString& button) = 0;
};

class QtAlert : public Alert {
public:
    explicit QtAlert(QWidget* parent) : parent_(parent) {}
    void show(const QString& messageText, const QString& informativeText, const QString& button) override;

private:
    QWidget* parent_;
};
