#pragma once

#include "gui/changes/offer_dialog.h"

class QTreeWidget;

// The copies a fill offers, for the user to pick: one row a file (expected
// name, source, target folder, differences), the folder they go to, picked
// in a tree of the set's folders and those below them, the size of the
// ticked ones against the free space, and while the copies run their
// progress and a Cancel.
class FillView : public OfferDialog {
    Q_OBJECT

public:
    explicit FillView(QWidget* parent = nullptr);

    // Replaces the rows and the title; the copies are not running.
    void showOffers(const QString& title, const std::vector<Row>& rows);
    // The folders the copies may go to ("romsConsoles/Genesis"), as a tree
    // with `chosen`, the one they go to, opened and picked.
    void showTargets(const QStringList& folders, const QString& chosen);
    // What the ticked rows copy and the room there is, as a sentence.
    void showSummary(const QString& summary, bool canCopy);
    // The copies running (Cancel shown, Copy and the ticks not) or not.
    void showCopying(bool copying);
    void showProgress(const QString& text);

    QPushButton* copyButton() const { return copy_; }
    QPushButton* cancelButton() const { return cancel_; }
    QTreeWidget* targetChoice() const { return target_; }

Q_SIGNALS:
    // The user picked another folder in the tree.
    void targetChosen(const QString& folder);
    void copyClicked();
    void cancelClicked();

private:
    QTreeWidget* target_;
    QLabel* summary_;
    QLabel* progress_;
    QPushButton* copy_;
    QPushButton* cancel_;
};
