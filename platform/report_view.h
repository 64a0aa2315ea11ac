#pragma once

#include "results/audit_result.h"

#include <QListView>
#include <QString>
#include <QStringList>

class ReportLines;

// A read-only view of a report: a few header lines, then one name a row. The
// names are read from the result list as rows come into sight, never all at
// once, so a category of a million names shows at once. Lines can be
// selected and copied (Ctrl+C) like text.
class ReportView : public QListView {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent = nullptr);

    // Shows `header` (its lines, "\n" between them) and then the names of
    // `names`, which must stay as they are until the view shows something else.
    void showReport(const QString& header, const tokenade::ResultList* names);
    // Shows a text of a few lines instead of a report.
    void showText(const QString& text);

    QString toPlainText() const;
    int lineCount() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void copySelection() const;
    void fitRowsToText();

    ReportLines* lines_;
};
