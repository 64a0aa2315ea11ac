#pragma once

#include "core/results/audit_result.h"

#include <QListView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class QAction;
class ReportLines;

// A read-only view of a report: a few header lines, then one name a row,
// with the folder each found file lies in beside it. The names are read from
// the result list as rows come into sight, never all at once, so a category
// of a million names shows at once. It can show only some of the names (a
// filter's matches). Selected names can be copied (Ctrl+C, or the context
// menu, which also offers the commands copyFullPathAction and
// openFolderAction for a controller to carry out).
class ReportView : public QListView {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent = nullptr);

    // Shows `header` (its lines, "\n" between them) and then every name of
    // `names`, which must stay as they are until the view shows something
    // else. With `folders`, the result the names come from, each name's
    // folder shows beside it; without, the names have no folder.
    void showReport(const QString& header, const tokenade::ResultList* names,
                    const tokenade::AuditResult* folders = nullptr);
    // Shows a text of a few lines instead of a report.
    void showText(const QString& text);
    // Shows, below a new header, only the names at the positions `shown`
    // (ascending, at least as long-lived as the names); nothing: all of them.
    void showOnly(const QString& header, const std::vector<uint32_t>* shown);
    // `shown` grew at its end, and the header (as many lines as before) changed.
    void showMore(const QString& header);

    // The names of the selected lines, in their order: header lines are not names.
    std::vector<const tokenade::ResultEntry*> selectedNames() const;
    // The name of the current line; nothing on a header line.
    const tokenade::ResultEntry* currentName() const;

    // Shows the lines on `background`, in text colours that can be read on it
    // whatever the desktop's palette.
    void setBackground(const QColor& background);

    QAction* copyFullPathAction() const { return copyFullPath_; }
    QAction* openFolderAction() const { return openFolder_; }

    QString toPlainText() const;
    int lineCount() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void copySelection() const;
    void measureNames();
    void fitRowsToText();
    QAction* addCommand(const QString& text, const QList<QKeySequence>& keys, const char* name);

    ReportLines* lines_;
    int nameWidth_ = 0;
    int folderWidth_ = 0;
    QSize rowSize_;
    QAction* copy_;
    QAction* copyFullPath_;
    QAction* openFolder_;
};
