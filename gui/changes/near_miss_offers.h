#pragma once

#include "core/results/categories.h"
#include "gui/changes/change_services.h"

#include <QObject>

#include <memory>

class BatchRunner;
class NearMissesView;
class QToolButton;
struct TabChangeElements;
namespace tokenade {
struct AuditResult;
struct ChangePlan;
}

// The near misses of one tab: the button that counts them and opens their
// view, the renames that each new result calls for (planned on a job, with
// the other kind's files that follow them), the user's ticks, and Rename,
// which shows every rename, asks once and hands the ticked ones to the
// batch runner. The offers and their ticks are the session's.
class NearMissOffers : public QObject {
    Q_OBJECT

public:
    // The tab's near-miss button and view (of `tab`), `services` and
    // `batches` must outlive this.
    NearMissOffers(tokenade::AuditKind kind, const TabChangeElements& tab, const ChangeServices& services,
                   BatchRunner& batches);

    // A new result of the tab's kind was adopted: its renames are planned,
    // and shown as soon as they are while the view is open.
    void resultAdopted();
    void showCommands();

private:
    void show();
    void plan();
    void didPlan(const std::shared_ptr<const tokenade::AuditResult>& planned, tokenade::ChangePlan plan);
    void fillView();
    void tick(int item, bool ticked);
    void rename();

    tokenade::AuditKind kind_;
    QToolButton* button_;
    NearMissesView* view_;
    ChangeServices services_;
    BatchRunner& batches_;
};
