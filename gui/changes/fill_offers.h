#pragma once

#include "core/results/categories.h"
#include "gui/changes/change_services.h"

#include <QObject>

#include <string>

class BatchRunner;
class FillView;
class QLabel;
class QToolButton;
struct TabChangeElements;
namespace tokenade {
struct ChangePlan;
}

// Fill from Folder… on one tab: asks for a folder, looks in it on a job for
// the files of the missing names, and offers them in the fill view, with the
// folder they go to (any folder of the set or below one, the collection's
// last as the session remembers it), their size against the free space, and
// Copy, which asks once and hands the ticked copies to the batch runner,
// showing their progress and a Cancel. The offers and their ticks are the
// session's; this keeps what the user chose in the dialog: where to look,
// and where to.
class FillOffers : public QObject {
    Q_OBJECT

public:
    // The tab's fill button and view (of `tab`), `status` (the window's
    // status line, which says where it looks meanwhile), `services` and
    // `batches` must outlive this.
    FillOffers(tokenade::AuditKind kind, const TabChangeElements& tab, QLabel* status, const ChangeServices& services,
               BatchRunner& batches);

    // The view goes with the result whose missing names it offers.
    void resultAdopted();
    void showCommands();

private:
    void chooseSource();
    void planInto(const std::string& folder);
    void didPlan(tokenade::ChangePlan plan);
    void showSummary();
    void tick(int item, bool ticked);
    void copy();

    tokenade::AuditKind kind_;
    QToolButton* button_;
    FillView* view_;
    QLabel* status_;
    ChangeServices services_;
    BatchRunner& batches_;
    std::string source_;  // the folder the offers were looked for in
    std::string target_;  // the folder the copies go to, relative to the Tokenade directory
};
