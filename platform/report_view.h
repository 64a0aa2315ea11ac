#pragma once

#include <QListView>
#include <QString>

class ReportLines;

// A read-only view of a report text, one line a row. Only the rows in sight
// are ever drawn, so a text of half a million lines shows at once. Lines can
// be selected and copied (Ctrl+C) like text.
class ReportView : public QListView {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent = nullptr);

    // Replaces the whole text; "\n" separates the lines.
    void setPlainText(const QString& text);
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
