#pragma once

#include "core/results/audit_result.h"

#include <QListView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QAction;
class ReportLines;
namespace tokenade {
struct ContentHoldings;
}

// A read-only view of a report: a few header lines, then one name a row,
// with the folder each found file lies in beside it (its model is
// ReportLines, its folder column FolderColumn). It keeps alive the result it
// shows. It can show only some of the names (a filter's matches). Selected
// names can be copied (Ctrl+C, or the context menu, which also offers the
// commands copyFullPathAction, openFolderAction and setAsideAction for a
// controller to carry out, and enable: namesSelected tells it to look again).
class ReportView : public QListView {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent = nullptr);

    // Shows `header` (its lines, "\n" between them) and then every name of
    // the category `id` of `result`, which the view keeps until it shows
    // something else. A found file's folder shows beside its name.
    void showReport(const QString& header, std::shared_ptr<const tokenade::AuditResult> result,
                    tokenade::CategoryId id);
    // Shows a text of a few lines instead of a report.
    void showText(const QString& text);
    // Shows, below a new header, only the names at the positions `first`
    // and then those at `then` (each ascending), or all of them.
    void showOnly(const QString& header, std::span<const uint32_t> first, std::span<const uint32_t> then = {});
    void showAll(const QString& header);
    // `first` and `then` each begin with the positions of theirs shown and
    // grew at their ends; the header (as many lines as before) changed.
    void showMore(const QString& header, std::span<const uint32_t> first, std::span<const uint32_t> then = {});

    // The names of the selected lines, in their order: header lines are not
    // names. They live as long as the view shows their result.
    std::vector<const tokenade::ResultEntry*> selectedNames() const;
    // The name of the current line; nothing on a header line.
    const tokenade::ResultEntry* currentName() const;
    // The category whose names the view shows; nothing while it shows a text.
    std::optional<tokenade::CategoryId> shownCategory() const { return shown_; }

    // What unknown archives hold by content, greyed after their folders
    // while the view shows the result the holdings are of; null for none.
    void showHoldings(std::shared_ptr<const tokenade::ContentHoldings> holdings);

    // Shows the lines on `background`, in text colours that can be read on it
    // whatever the desktop's palette.
    void setBackground(const QColor& background);

    QAction* copyFullPathAction() const { return copyFullPath_; }
    QAction* openFolderAction() const { return openFolder_; }
    QAction* setAsideAction() const { return setAside_; }

    QString toPlainText() const;
    int lineCount() const;
    // The height of one line in the view's font.
    int rowHeight() const { return fontMetrics().height() + 2; }

Q_SIGNALS:
    void namesSelected();

protected:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void copySelection() const;
    void measureNames();
    void fitRowsToText();
    QAction* addCommand(const QString& text, const QList<QKeySequence>& keys, const char* name);

    ReportLines* lines_;
    std::optional<tokenade::CategoryId> shown_;
    int nameWidth_ = 0;
    int folderWidth_ = 0;
    QSize rowSize_;
    QAction* copy_;
    QAction* copyFullPath_;
    QAction* openFolder_;
    QAction* setAside_;
};
