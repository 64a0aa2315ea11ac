#pragma once

#include "gui/changes/offer_dialog.h"

class QTextBrowser;

// The near misses of one audit, for the user to look through and pick: one
// row an offered rename (expected name, file found, folder, differences),
// and below them the names listed but never renamed, each with why.
class NearMissesView : public OfferDialog {
    Q_OBJECT

public:
    explicit NearMissesView(QWidget* parent = nullptr);

    // Replaces everything shown: the title, the renames, and the paragraphs
    // on what is listed but never renamed (plain text, one a paragraph). A
    // follower's row keeps its leader's tick, a refused rename's none.
    void showNearMisses(const QString& title, const std::vector<Row>& rows, const QStringList& notRenamed);
    void setRenameEnabled(bool enabled);

    QPushButton* renameButton() const { return rename_; }

Q_SIGNALS:
    void renameClicked();

private:
    QTextBrowser* notRenamed_;
    QPushButton* rename_;
};
