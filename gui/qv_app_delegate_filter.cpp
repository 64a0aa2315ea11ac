#include "qv_app_delegate.h"

#include "core/results/report_text.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QLineEdit>

using tokenade::AuditKind;

namespace {

// How long one slice of a filter may keep the window: well below what a
// user notices between two keys, and the filter still runs through a million
// names in well under a second once their keys are made.
constexpr auto kFilterSlice = std::chrono::milliseconds(10);

}  // namespace

void QVAppDelegate::setFilterFields(QLineEdit* roms, QLineEdit* videos)
{
    romsFilterField_ = roms;
    videosFilterField_ = videos;
}

QLineEdit* QVAppDelegate::filterField(AuditKind kind) const
{
    return kind == AuditKind::Roms ? romsFilterField_ : videosFilterField_;
}

tokenade::NameFilter& QVAppDelegate::nameFilter(AuditKind kind)
{
    return kind == AuditKind::Roms ? romsFilter_ : videosFilter_;
}

void QVAppDelegate::filterChanged(AuditKind kind)
{
    if (session_.canPickCategory(kind))
        applyFilter(kind);
}

// The shown category's names that contain the filter's text: the first slice
// now, the others while the window is idle, so that typing never waits.
void QVAppDelegate::applyFilter(AuditKind kind)
{
    // A view that says why it shows no names has nothing to filter.
    const tokenade::ResultCategory* category = selectedCategory(kind);
    if (!category || !filterField(kind) || session_.viewMessage(kind, *category->facts))
        return;
    tokenade::NameFilter& filter = nameFilter(kind);
    const bool wasActive = filter.isActive();
    filter.start(&category->entries, filterField(kind)->text().toStdString());
    if (!filter.isActive()) {
        if (wasActive)
            resultView(kind)->showOnly(filteredHeader(kind), nullptr);
        return;
    }
    filter.step(kFilterSlice);
    resultView(kind)->showOnly(filteredHeader(kind), &filter.matches());
    if (!filter.isDone())
        filterSlices_.start();
}

void QVAppDelegate::continueFiltering()
{
    bool more = false;
    for (AuditKind kind : {AuditKind::Roms, AuditKind::Videos}) {
        tokenade::NameFilter& filter = nameFilter(kind);
        if (filter.isDone())
            continue;
        filter.step(kFilterSlice);
        resultView(kind)->showMore(filteredHeader(kind));
        more = more || !filter.isDone();
    }
    if (!more)
        filterSlices_.stop();
}

// The category's header, with what the filter shows before the blank line.
QString QVAppDelegate::filteredHeader(AuditKind kind) const
{
    const tokenade::ResultCategory* category = selectedCategory(kind);
    if (!category)
        return {};
    std::string header = tokenade::reportHeader(category->facts->windowHeader, category->entries.size(), "\n");
    const tokenade::NameFilter& filter = kind == AuditKind::Roms ? romsFilter_ : videosFilter_;
    if (filter.isActive()) {
        header.pop_back();
        header += filter.summary() + "\n\n";
    }
    return toQString(header);
}

void QVAppDelegate::focusFilter()
{
    QLineEdit* field = filterField(tabView()->currentIndex() == 0 ? AuditKind::Roms : AuditKind::Videos);
    if (!field || !field->isEnabled())
        return;
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

// A segment of the shown tab, as a click on it would pick it.
void QVAppDelegate::pickCategory(int segment)
{
    const AuditKind kind = tabView()->currentIndex() == 0 ? AuditKind::Roms : AuditKind::Videos;
    const auto categories = tokenade::categoriesOf(kind);
    if (segment < 0 || static_cast<size_t>(segment) >= categories.size() || !session_.canPickCategory(kind) ||
        !session_.isSegmentEnabled(categories[static_cast<size_t>(segment)]))
        return;
    resultControl(kind)->setSelectedSegment(segment);
    showSelectedCategory(kind);
}
