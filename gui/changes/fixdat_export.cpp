#include "fixdat_export.h"

#include "core/content/collection_fixdat.h"
#include "core/content/fixdat.h"
#include "core/foundation/grouped_count.h"
#include "core/repair/output_target.h"
#include "core/session/audit_session.h"
#include "gui/alert.h"
#include "gui/file_chooser.h"
#include "gui/preferences.h"
#include "gui/qt_strings.h"

#include <QAction>
#include <QFileInfo>

namespace {

const QString kFolderKey = QStringLiteral("FixdatFolder");

}  // namespace

FixdatExport::FixdatExport(QAction* command, const ChangeServices& services)
    : command_(command)
    , services_(services)
{
    connect(command_, &QAction::triggered, this, &FixdatExport::exportFixdat);
}

void FixdatExport::showCommands()
{
    command_->setEnabled(services_.session.identification() != nullptr);
}

void FixdatExport::exportFixdat()
{
    const auto content = services_.session.identification();
    const auto& madeFrom = services_.session.madeFrom(tokenade::AuditKind::Roms);
    if (!content || !madeFrom)
        return;
    ChooserOptions options;
    options.save = true;
    options.allowedFileTypes = {QStringLiteral("dat")};
    options.title = QStringLiteral("Export a fixdat of the missing games");
    options.prompt = QStringLiteral("Export");
    options.startFolder = services_.preferences.stringForKey(kFolderKey).value_or(QString());
    options.suggestedName = QStringLiteral("fixdat.dat");
    const std::optional<QString> chosen = services_.chooser.choose(options);
    if (!chosen)
        return;
    const std::string path = toLocalPath(*chosen);
    services_.preferences.setString(kFolderKey, QFileInfo(*chosen).absolutePath());
    const tokenade::OutputGuard guard{
        {{"the DAT", services_.session.datPath()}, {"the supported roms list", madeFrom->romsListPath}},
        madeFrom->tokenadeDirPath};
    if (const std::string why = tokenade::whyNotAnOutputFile(path, guard); !why.empty()) {
        services_.alert.show(QStringLiteral("The fixdat was not written"), *chosen + QStringLiteral(": ") + toQString(why),
                             QStringLiteral("OK"));
        return;
    }
    const tokenade::ContentBasis& basis = *content->read.basis;
    // The window identifies in every form of set, as the command line does without --sets.
    const tokenade::CollectionFixdat fixdat = tokenade::collectionFixdat(basis, content->identified, tokenade::kAnySetForm);
    const size_t games = fixdat.games.size();
    if (const auto failure = tokenade::writeFixdat(path, *basis.dat, fixdat.games, fixdat.description)) {
        services_.alert.show(QStringLiteral("The fixdat was not written"),
                             fromLocalPath(failure->path) + QStringLiteral(": ") + toQString(failure->reason),
                             QStringLiteral("OK"));
        return;
    }
    services_.alert.show(QStringLiteral("Fixdat exported"),
                         toQString(tokenade::groupedCount(games) + (games == 1 ? " missing game" : " missing games")) +
                             QStringLiteral(" written to ") + *chosen + QStringLiteral("."),
                         QStringLiteral("OK"));
}
