#pragma once

#include "core/session/audit_session.h"

#include <QScrollArea>
#include <QStringList>

#include <set>
#include <vector>

class NoticeRow;
class QVBoxLayout;

// What the window says above a tab's results (the session's notices), in
// a room that never takes the results' own: at most about a third of the
// height of the widget it lies in, scrolling beyond that. Each notice folds
// to one line and opens on a click to its whole text and its examples, the
// telling spaces of their names marked (withVisibleSpaces); a notice stays
// open while it is shown again. Hidden while there is none.
class NoticeArea : public QScrollArea {
    Q_OBJECT

public:
    explicit NoticeArea(QWidget* parent = nullptr);

    void showNotices(const std::vector<tokenade::AuditSession::Notice>& notices);

    // What the notices say, opened or not: each text on a line of its own,
    // then its examples, a line each.
    QString text() const;
    int noticeCount() const { return static_cast<int>(rows_.size()); }
    bool isOpen(int notice) const;
    void setOpen(int notice, bool open);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // "Open the Folder" of a saved-reports notice.
    void folderAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitToRoom();
    int contentHeight() const;

    QWidget* content_;
    QVBoxLayout* layout_;
    std::vector<NoticeRow*> rows_;
    std::set<QString> opened_;  // the texts of the notices the user opened
};
