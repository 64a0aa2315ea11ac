#pragma once

#include "core/session/audit_session.h"

#include <QWidget>

class QLabel;
class QToolButton;

// One notice of a NoticeArea: folded, one line of its text, cut at the
// width there is; open, its whole text and its examples, which can be
// selected and copied. A click on the folded line, or the arrow before it,
// opens or folds it; the arrow is there only when there is more to show.
// A saved-reports notice ends in an "Open the Folder" button.
class NoticeRow : public QWidget {
    Q_OBJECT

public:
    NoticeRow(const tokenade::AuditSession::Notice& notice, bool open, QWidget* parent);

    const QString& text() const { return text_; }
    const QStringList& examples() const { return examples_; }
    bool isOpen() const { return open_; }
    void setOpen(bool open);

Q_SIGNALS:
    void openChanged(bool open);
    void folderAsked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showText();
    bool hasMoreToShow() const;

    QString text_;
    QStringList examples_;
    bool open_;
    QToolButton* arrow_;
    QLabel* label_;
};
