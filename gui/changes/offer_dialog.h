#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class Preferences;
class QDialogButtonBox;
class QLabel;
class QLayout;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

// A dialog of offered changes for the user to pick: a title, a table of one
// row an offer with a check box in its first column, and Close. Each kind of
// offer adds its own widgets below the table and its buttons beside Close.
// It only shows and reports clicks; whoever offers decides.
class OfferDialog : public QDialog {
    Q_OBJECT

public:
    struct Row {
        QStringList cells;  // one a column, the first beside the check box
        bool ticked = true;
        bool tickable = true;  // false: the box shows a tick it keeps from elsewhere, or none
    };

    // Replaces the title and the rows; the ticks set are not reported.
    void showRows(const QString& title, const std::vector<Row>& rows);
    // The check boxes as `ticks` says, one a row, the rows kept as they are.
    void showTicks(const std::vector<bool>& ticks);

    QTableWidget* table() const { return table_; }

    // Shows the dialog in front. Opened anew, it takes the size it was last
    // closed at, kept in `preferences` under `key`, or else one that shows
    // the table's columns whole, within the screen; closing keeps its size.
    void showKeepingSize(Preferences& preferences, const QString& key);

Q_SIGNALS:
    void rowTicked(int row, bool ticked);

protected:
    // The table's cells are read-only, whole rows selected, its columns as
    // wide as their contents and the last one the rest.
    OfferDialog(const QString& windowTitle, const QString& tableName, const QString& tableAccessibleName,
                const QStringList& headers, QWidget* parent);

    void addBelowTable(QWidget* widget);
    void addBelowTable(QLayout* layout);
    void addButton(QPushButton* button);
    void hideEvent(QHideEvent* event) override;

private:
    QSize fittingSize() const;

    Preferences* sizeKeeper_ = nullptr;
    QString sizeKey_;
    QLabel* title_;
    QTableWidget* table_;
    QVBoxLayout* layout_;
    QDialogButtonBox* buttons_;
};
