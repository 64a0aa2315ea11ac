#include "window_changes.h"

#include "gui/changes/fill_offers.h"
#include "gui/changes/near_miss_offers.h"
#include "gui/changes/set_aside_offers.h"
#include "gui/window_elements.h"

using tokenade::AuditKind;

struct WindowChanges::TabOffers {
    NearMissOffers nearMisses;
    FillOffers fill;
    SetAsideOffers setAside;
};

WindowChanges::WindowChanges(const WindowElements& window, const ChangeServices& services, BatchRunner::Hooks hooks)
    : batches_(services, window.changes.undoLastChanges, std::move(hooks))
{
    for (AuditKind kind : tokenade::kAuditKinds) {
        const TabChangeElements& tab = window.changes.tabs[kind];
        tabs_[kind] = std::unique_ptr<TabOffers>(
            new TabOffers{{kind, tab, services, batches_},
                          {kind, tab, window.progressLabel, services, batches_},
                          {kind, window.tabs[kind].resultView, services, batches_}});
    }
}

WindowChanges::~WindowChanges() = default;

void WindowChanges::resultAdopted(AuditKind kind)
{
    tabs_[kind]->nearMisses.resultAdopted();
    tabs_[kind]->fill.resultAdopted();
}

void WindowChanges::showCommands()
{
    for (AuditKind kind : tokenade::kAuditKinds) {
        tabs_[kind]->nearMisses.showCommands();
        tabs_[kind]->fill.showCommands();
        tabs_[kind]->setAside.showCommands();
    }
    batches_.showCommands();
}
