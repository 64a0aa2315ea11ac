#pragma once

#include "core/results/categories.h"
#include "gui/changes/change_services.h"

#include <QObject>

class BatchRunner;
class ReportView;

// Set Aside… in the menu of one tab's result view: moves the selected
// unknown files (or extra videos) of the last result into today's folder
// beside the collection's own, after one question, through the batch
// runner. Enabled while the view shows such files and some are selected.
class SetAsideOffers : public QObject {
    Q_OBJECT

public:
    // `view` (the tab's result view), `services` and `batches` must outlive this.
    SetAsideOffers(tokenade::AuditKind kind, ReportView* view, const ChangeServices& services, BatchRunner& batches);

    // A new list in the view drops its selection without a word: called then too.
    void showCommands();

private:
    void setAside();

    tokenade::AuditKind kind_;
    ReportView* view_;
    ChangeServices services_;
    BatchRunner& batches_;
};
