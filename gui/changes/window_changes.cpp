#include "window_changes.h"

#include "core/repair/collection_area.h"
#include "core/session/audit_session.h"
#include "gui/changes/fill_offers.h"
#include "gui/changes/near_miss_offers.h"
#include "gui/changes/set_aside_offers.h"
#include "gui/window_elements.h"

#include <cctype>

using tokenade::AuditKind;

struct WindowChanges::TabOffers {
    NearMissOffers nearMisses;
    FillOffers fill;
    SetAsideOffers setAside;
};

WindowChanges::WindowChanges(const WindowElements& window, const ChangeServices& services, BatchRunner::Hooks hooks)
    : batches_(services, hooks)
    , undo_(window.changes.undoLastChanges, window.tokenadeDirPathTextField, services, batches_,
            [showNotices = hooks.auditAgain] { showNotices({}); })
    , identifier_(window.datPathTextField, window.tabs[AuditKind::Roms].resultView, window.changes.identifyProgress,
                  window.changes.stopIdentify, services)
    , fixdat_(window.changes.exportFixdat, services)
    , session_(services.session)
{
    QObject::connect(&identifier_, &ContentIdentifier::identificationChanged, &identifier_,
                     [this, showNotices = hooks.auditAgain] {
                         tabs_[AuditKind::Roms]->nearMisses.resultAdopted();
                         fixdat_.showCommands();
                         showNotices({});  // nothing to audit: what the content says goes into the notices
                     });
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
    // A few looks at the disk: the audit has just read these folders.
    std::string why = tokenade::whyNotACollection(session_.madeFrom(kind)->tokenadeDirPath, kind);
    if (!why.empty())
        why = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0]))) + why.substr(1) + ".";
    session_.refuseChanges(kind, std::move(why));
    tabs_[kind]->nearMisses.resultAdopted();
    tabs_[kind]->fill.resultAdopted();
    if (kind == AuditKind::Roms)
        identifier_.identify();
}

void WindowChanges::showCommands()
{
    for (AuditKind kind : tokenade::kAuditKinds) {
        tabs_[kind]->nearMisses.showCommands();
        tabs_[kind]->fill.showCommands();
        tabs_[kind]->setAside.showCommands();
    }
    undo_.showCommands();
    fixdat_.showCommands();
}
