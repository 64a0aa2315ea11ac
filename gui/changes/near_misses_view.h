#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QTextBrowser;

// The near misses of one audit, for the user to look through and pick: one
// row an offered rename (expected name, file found, folder, differences)
// with a check box, and below them the names listed but never renamed, each with why. It
// only shows and reports clicks; the controller decides.
class NearMissesView : public QDialog {
    Q_OBJECT

public:
    struct Row {
        QString expected;
        QString found;
        QString folder;
        QString differences;
        bool ticked = true;
        bool tickable = true;  // false: a follower keeps its leader's tick, a refused rename none
    };

    explicit NearMissesView(QWidget* parent = nullptr);

    // Replaces everything shown: the title, the pairs, and the paragraphs on
    // what is listed but never renamed (plain text, one a paragraph).
    void showNearMisses(const QString& title, const std::vector<Row>& rows, const QStringList& notRenamed);
    // The check boxes as `ticks` says, one a row, the rows kept as they are.
    void showTicks(const std::vector<bool>& ticks);
    void setRenameEnabled(bool enabled);

    QTableWidget* table() const { return table_; }
    QPushButton* renameButton() const { return rename_; }

Q_SIGNALS:
    void rowTicked(int row, bool ticked);
    void renameClicked();

private:
    QLabel* title_;
    QTableWidget* table_;
    QTextBrowser* notRenamed_;
    QPushButton* rename_;
    bool filling_ = false;
};
