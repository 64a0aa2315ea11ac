#include "qv_app_delegate.h"

#include "core/session/shown_text.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QLineEdit>
#include <QTabWidget>

using tokenade::AuditKind;

namespace {

// How long one slice of a filter may keep the window: well below what a
// user notices between two keys, and the filter still runs through a million
// names in well under a second once their keys are made.
constexpr auto kFilterSlice = std::chrono::milliseconds(10);

}  // namespace

void QVAppDelegate::filterChanged(AuditKind kind)
{
    if (session_.canPickCategory(kind))
        applyFilter(kind);
}

// The shown category's names that contain the filter's text, within the
// system a bar chose: the first slice now, the others while the window is
// idle, so that typing never waits.
void QVAppDelegate::applyFilter(AuditKind kind)
{
    // A view that says why it shows no names has nothing to filter.
    const tokenade::ResultCategory* category = selectedCategory(kind);
    if (!category || session_.viewMessage(kind, *category->facts))
        return;
    Tab& shown = tabs_[kind];
    const bool wasActive = shown.filter.isActive();
    // The list and the lines are the snapshot's, and live as long as the filter keeps them.
    const std::shared_ptr<const tokenade::AuditResult> snapshot = session_.snapshot(kind);
    shown.filter.start(std::shared_ptr<const tokenade::ResultList>(snapshot, &category->entries),
                       toUtf8(shown.elements.filterField->text()),
                       std::shared_ptr<const tokenade::CutLines>(snapshot, &snapshot->cutLines));
    if (!shown.filter.isActive()) {
        if (const tokenade::SystemScope* system = shownSystem(kind))
            shown.elements.resultView->showOnly(filteredHeader(kind), *system->positions);
        else if (wasActive)
            shown.elements.resultView->showAll(filteredHeader(kind));
        return;
    }
    shown.filter.step(kFilterSlice);
    showMatches(kind, false);
    if (!shown.filter.isDone())
        filterSlices_.start();
}

void QVAppDelegate::continueFiltering()
{
    bool more = false;
    for (AuditKind kind : tokenade::kAuditKinds) {
        Tab& shown = tabs_[kind];
        if (shown.filter.isDone())
            continue;
        shown.filter.step(kFilterSlice);
        showMatches(kind, true);
        more = more || !shown.filter.isDone();
    }
    if (!more)
        filterSlices_.stop();
}

// The filter's matches so far, those of the system only when a bar chose one.
void QVAppDelegate::showMatches(AuditKind kind, bool more)
{
    const Tab& shown = tabs_[kind];
    const tokenade::NameFilter& filter = shown.filter;
    ReportView* view = shown.elements.resultView;
    if (const tokenade::SystemScope* system = shownSystem(kind)) {
        const auto exact = tokenade::withinScope(filter.matches(), *system->positions);
        const auto loose = tokenade::withinScope(filter.looseMatches(), *system->positions);
        return more ? view->showMore(filteredHeader(kind), exact, loose)
                    : view->showOnly(filteredHeader(kind), exact, loose);
    }
    if (more)
        view->showMore(filteredHeader(kind), filter.matches(), filter.looseMatches());
    else
        view->showOnly(filteredHeader(kind), filter.matches(), filter.looseMatches());
}

// The system a bar chose, while the view shows its category of its result.
const tokenade::SystemScope* QVAppDelegate::shownSystem(AuditKind kind) const
{
    const std::optional<tokenade::SystemScope>& system = tabs_[kind].system;
    const tokenade::ResultCategory* category = selectedCategory(kind);
    if (!system || !system->positions || !category || system->category != category->facts->id ||
        system->of != session_.snapshot(kind))
        return nullptr;
    return &*system;
}

void QVAppDelegate::showSystem(const tokenade::SystemScope& scope)
{
    if (!session_.canPickCategory(Roms) || scope.of != session_.snapshot(Roms))
        return;
    tabView()->setCurrentWidget(tab(Roms).page);
    tabs_[Roms].system = scope;
    for (const tokenade::CategoryFacts& facts : tokenade::categoriesOf(Roms)) {
        if (facts.id == scope.category)
            romsResultControl()->setSelectedSegment(facts.segment);
    }
    showSelectedCategory(Roms);
}

// The category's header, with what the filter and the system show before the blank line.
QString QVAppDelegate::filteredHeader(AuditKind kind) const
{
    const tokenade::ResultCategory* category = selectedCategory(kind);
    if (!category)
        return {};
    std::string header = tokenade::shownHeader(*category->facts, category->entries.size());
    const tokenade::NameFilter& filter = tabs_[kind].filter;
    const tokenade::SystemScope* system = shownSystem(kind);
    if (system) {
        const size_t shown = filter.isActive()
                                 ? tokenade::withinScope(filter.matches(), *system->positions).size() +
                                       tokenade::withinScope(filter.looseMatches(), *system->positions).size()
                                 : system->positions->size();
        header.pop_back();
        header += tokenade::systemSummary(system->system, shown, category->entries.size(),
                                          filter.isActive() ? toUtf8(tabs_[kind].elements.filterField->text()) : "",
                                          filter.isDone()) +
                  "\n\n";
    } else if (filter.isActive()) {
        header.pop_back();
        header += filter.summary() + "\n\n";
    }
    return toQString(header);
}

// The kind of the tab the tab view shows; nothing when it shows another page.
std::optional<AuditKind> QVAppDelegate::shownKind() const
{
    for (AuditKind kind : tokenade::kAuditKinds) {
        if (tab(kind).page == tabView()->currentWidget())
            return kind;
    }
    return std::nullopt;
}

void QVAppDelegate::focusFilter()
{
    const std::optional<AuditKind> kind = shownKind();
    QLineEdit* field = kind ? tab(*kind).filterField : nullptr;
    if (!field || !field->isEnabled())
        return;
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

// A segment of the shown tab, as a click on it would pick it.
void QVAppDelegate::pickCategory(int segment)
{
    const std::optional<AuditKind> kind = shownKind();
    if (!kind)
        return;
    const auto categories = tokenade::categoriesOf(*kind);
    if (segment < 0 || static_cast<size_t>(segment) >= categories.size() || !session_.canPickCategory(*kind) ||
        !session_.isSegmentEnabled(categories[static_cast<size_t>(segment)]))
        return;
    tabs_[*kind].system.reset();  // as a click on the segment: all of it
    tab(*kind).resultControl->setSelectedSegment(segment);
    showSelectedCategory(*kind);
}
