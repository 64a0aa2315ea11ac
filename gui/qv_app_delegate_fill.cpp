#include "qv_app_delegate.h"

#include "core/audit/name_differences.h"
#include "core/foundation/path_join.h"
#include "core/repair/fill_plan.h"
#include "core/repair/set_aside_plan.h"
#include "core/sources/folder_scan.h"
#include "core/session/batch_notice.h"
#include "gui/alert.h"
#include "gui/file_chooser.h"
#include "gui/fill_view.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include <set>

using tokenade::AuditKind;
using tokenade::BatchKind;
using tokenade::ChangePlan;
using tokenade::OfferedChange;

namespace {

QString differenceWords(uint8_t differences)
{
    QStringList words;
    for (std::string_view word : tokenade::differenceNames(tokenade::Differences{differences}))
        words << toQString(word);
    return words.join(QStringLiteral(", "));
}

std::vector<std::string> fillFolders(AuditKind kind)
{
    return tokenade::folderNames(kind == AuditKind::Roms ? tokenade::kRomFolders : tokenade::kVideoFolders);
}

QString filesWord(size_t count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

}  // namespace

// The folder is searched on a job: a download folder may hold thousands of files.
void QVAppDelegate::fillFromFolder(AuditKind kind)
{
    if (!session_.canFill(kind))
        return;
    ChooserOptions options;
    options.canChooseDirectories = true;
    options.title = QStringLiteral("Fill the missing files from a folder");
    options.prompt = QStringLiteral("Look Here");
    const std::optional<QString> source = seams_.chooser.choose(options);
    if (!source)
        return;
    tabs_[kind].fillSource = toLocalPath(*source);
    tabs_[kind].fillTarget = 0;
    fillInto(kind, 0);
}

// The set's folders, the first the default; choosing another plans the fill again into it.
void QVAppDelegate::fillInto(AuditKind kind, int folder)
{
    const std::vector<std::string> folders = fillFolders(kind);
    if (!session_.canFill(kind) || folder < 0 || static_cast<size_t>(folder) >= folders.size())
        return;
    tabs_[kind].fillTarget = static_cast<size_t>(folder);
    const tokenade::FillRequest request{session_.madeFrom(kind)->tokenadeDirPath, tabs_[kind].fillSource,
                                        folders[static_cast<size_t>(folder)], false};
    setStatus("Looking for the missing files in " + request.source + "…");
    progressLabel()->show();
    seams_.jobs.start<ChangePlan>(
        [result = session_.snapshot(kind), request](std::stop_token stop, const JobRunner::Reporter&) {
            return tokenade::planFill(*result, request, stop);
        },
        {}, [this, kind](ChangePlan plan) { didPlanFill(kind, std::move(plan)); });
}

void QVAppDelegate::didPlanFill(AuditKind kind, ChangePlan plan)
{
    if (!session_.isAnyRunning())
        progressLabel()->hide();
    if (!plan.problem.empty()) {
        seams_.alert.show(QStringLiteral("Cannot fill from this folder"), toQString(plan.problem),
                          QStringLiteral("OK"));
        return;
    }
    if (plan.items.empty()) {
        seams_.alert.show(QStringLiteral("No missing files there"),
                          QStringLiteral("None of the files in the folder is one the collection misses."),
                          QStringLiteral("OK"));
        return;
    }
    session_.offerFill(kind, std::move(plan));
    const tokenade::ChangeChoice& fill = session_.fillOffers(kind);
    std::vector<FillView::Row> rows;
    for (size_t i = 0; i < fill.plan().items.size(); ++i) {
        const OfferedChange& item = fill.plan().items[i];
        QString differences = differenceWords(item.differences);
        if (!item.refusal.empty())
            differences += (differences.isEmpty() ? QString() : QStringLiteral(", ")) + toQString(item.refusal);
        rows.push_back({toQString(item.expected), toQString(item.shownSource), differences,
                        fromLocalPath(item.change.toFolder), fill.ticks()[i]});
    }
    FillView* view = tab(kind).fillView;
    view->showOffers(filesWord(rows.size()) + QStringLiteral(" of the missing ones found. Copy gives the ticked "
                                                             "ones their expected names in the target folder."),
                     rows);
    QStringList folders;
    for (const std::string& folder : fillFolders(kind))
        folders << toQString(folder);
    view->showTargets(folders, static_cast<int>(tabs_[kind].fillTarget));
    showFillSummary(kind);
    view->show();
    view->raise();
}

void QVAppDelegate::showFillSummary(AuditKind kind)
{
    const tokenade::ChangeChoice& fill = session_.fillOffers(kind);
    tab(kind).fillView->showSummary(toQString(tokenade::fillSummary(fill)),
                                    fill.tickedCount() != 0 && tokenade::hasRoomFor(fill) && session_.canChange());
}

void QVAppDelegate::fillTicked(AuditKind kind, int item, bool ticked)
{
    session_.tickFill(kind, static_cast<size_t>(item), ticked);
    showFillSummary(kind);
}

void QVAppDelegate::copyFill(AuditKind kind)
{
    const tokenade::ChangeChoice& fill = session_.fillOffers(kind);
    if (!session_.canChange() || fill.tickedCount() == 0 || !tokenade::hasRoomFor(fill))
        return;
    QStringList lines;
    for (size_t i = 0; i < fill.plan().items.size(); ++i) {
        const OfferedChange& item = fill.plan().items[i];
        if (fill.ticks()[i])
            lines << toQString(item.shownSource) + QStringLiteral(" \u2192 ") +
                         fromLocalPath(tokenade::joinPath(item.change.toFolder, item.change.to));
    }
    const QString question = QStringLiteral("Copy %1 (%2)?")
                                 .arg(filesWord(fill.tickedCount()))
                                 .arg(QString::number(static_cast<double>(fill.bytesToCopy()) / 1e6, 'f', 1) +
                                      QStringLiteral(" MB"));
    if (!seams_.alert.ask(question, lines.join(QStringLiteral("\n")), QStringLiteral("Copy")))
        return;
    tab(kind).fillView->showCopying(true);
    makeChanges(kind, BatchKind::Fill, fill.changes());
}

void QVAppDelegate::showSetAsideCommand(AuditKind kind)
{
    const tokenade::ResultCategory* category = selectedCategory(kind);
    ReportView* view = tab(kind).resultView;
    view->setAsideAction()->setEnabled(
        category && session_.canSetAside(kind, category->facts->id, view->selectedNames().size()));
}

// Only the selected names go, into today's folder beside the collection's
// own, asked once.
void QVAppDelegate::setAsideSelected(AuditKind kind)
{
    const tokenade::ResultCategory* category = selectedCategory(kind);
    const std::vector<const tokenade::ResultEntry*> selected = tab(kind).resultView->selectedNames();
    if (!category || !session_.canSetAside(kind, category->facts->id, selected.size()))
        return;
    const tokenade::AuditResult& result = session_.result(kind);
    const std::string directory = session_.madeFrom(kind)->tokenadeDirPath;
    ChangePlan plan = tokenade::planSetAside(result, {directory, category->facts->id, {}});
    if (!plan.problem.empty()) {
        seams_.alert.show(QStringLiteral("Cannot set these files aside"), toQString(plan.problem),
                          QStringLiteral("OK"));
        return;
    }
    std::set<std::string> names;
    for (const tokenade::ResultEntry* entry : selected)
        names.insert(tokenade::joinPath(result.folderOf(*entry), entry->name()));
    tokenade::ChangeChoice choice(std::move(plan));
    choice.tickOnly(names);
    if (choice.tickedCount() == 0)
        return;
    QStringList lines;
    for (size_t i = 0; i < choice.plan().items.size(); ++i) {
        if (choice.ticks()[i])
            lines << toQString(choice.plan().items[i].shownSource);
    }
    const QString where = fromLocalPath(tokenade::defaultSetAsideFolder(directory));
    const QString question = QStringLiteral("Set aside %1 into %2?").arg(filesWord(choice.tickedCount()), where);
    if (seams_.alert.ask(question, lines.join(QStringLiteral("\n")), QStringLiteral("Set Aside")))
        makeChanges(kind, BatchKind::SetAside, choice.changes());
}
