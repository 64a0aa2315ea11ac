#include "shown_text.h"

#include "core/foundation/grouped_count.h"
#include "core/results/report_text.h"

#include <algorithm>
#include <array>

namespace tokenade {
namespace {

constexpr std::string_view kVisibleSpace = "\u2423";
constexpr std::string_view kVisibleTab = "\u21E5";

// A header format for one name: the first noun the count counts, singular.
std::string singularFormat(std::string_view format)
{
    std::string one(format);
    const size_t count = one.find("%lu");
    size_t noun = std::string::npos;
    for (std::string_view plural : std::array<std::string_view, 3>{"roms", "videos", "archives"}) {
        const size_t at = one.find(plural, count);
        if (at < noun)
            noun = at + plural.size() - 1;
    }
    if (count != std::string::npos && noun != std::string::npos)
        one.erase(noun, 1);
    return one;
}

// One quoted name, its telling spaces marked.
void appendVisible(std::string_view name, std::string& out)
{
    const size_t extension = name.rfind('.');
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\t') {
            out += kVisibleTab;
            continue;
        }
        const bool telling = name[i] == ' ' && (i == 0 || i + 1 == name.size() || name[i - 1] == ' ' ||
                                                name[i + 1] == ' ' || i + 1 == extension);
        if (telling)
            out += kVisibleSpace;
        else
            out += name[i];
    }
}

std::string counted(size_t count, std::string_view one, std::string_view many)
{
    return groupedCount(count) + " " + std::string(count == 1 ? one : many);
}

size_t offersOf(const ChangePlan& offers, OfferKind kind)
{
    return static_cast<size_t>(std::count_if(offers.items.begin(), offers.items.end(),
                                             [kind](const OfferedChange& item) { return item.kind == kind; }));
}

// A name may hold quotes itself: it ends at a quote that ends the example
// or comes before the arrow to the next name.
size_t closingQuote(std::string_view example, size_t open)
{
    for (size_t at = example.find('"', open + 1); at != std::string_view::npos; at = example.find('"', at + 1)) {
        if (at + 1 == example.size() || example.substr(at + 1).starts_with(" -> "))
            return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::string shownHeader(const CategoryFacts& facts, size_t count)
{
    const std::string_view format = facts.windowHeader;
    return reportHeader(count == 1 ? singularFormat(format) : std::string(format), count, "\n");
}

std::string withVisibleSpaces(std::string_view example)
{
    std::string out;
    size_t at = 0;
    while (at < example.size()) {
        const size_t open = example.find('"', at);
        const size_t close = open == std::string_view::npos ? open : closingQuote(example, open);
        if (close == std::string_view::npos) {
            out += example.substr(at);
            break;
        }
        out += example.substr(at, open + 1 - at);
        appendVisible(example.substr(open + 1, close - open - 1), out);
        out += '"';
        at = close + 1;
    }
    return out;
}

std::string nearMissHeading(AuditKind kind, const ChangePlan& offers, size_t notRenamed)
{
    std::vector<std::string> parts;
    if (const size_t near = offersOf(offers, OfferKind::NearMiss))
        parts.push_back(counted(near, "near miss", "near misses"));
    if (const size_t cut = offersOf(offers, OfferKind::CutName))
        parts.push_back(counted(cut, "cut name", "cut names"));
    if (const size_t content = offersOf(offers, OfferKind::Content))
        parts.push_back(counted(content, "archive by content", "archives by content"));
    if (const size_t followers = offersOf(offers, OfferKind::Follower)) {
        const bool videos = kind == AuditKind::Roms;
        const std::string noun = videos ? "video" : "archive";
        parts.push_back(followers == 1 ? "the " + noun + " that goes with them"
                                       : "the " + groupedCount(followers) + " " + noun + "s that go with them");
    }
    std::string text = offers.items.empty() ? "No renames offered"
                                            : counted(offers.items.size(), "rename", "renames") + " offered";
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? ": " : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    text += ".";
    if (notRenamed != 0)
        text += " Below, " + groupedCount(notRenamed) + " more " + (notRenamed == 1 ? "that is" : "that are") +
                " never renamed.";
    return text;
}

std::vector<std::string> undoSteps(const BatchSummary& batch)
{
    const auto quoted = [](std::string_view name) { return "\u201C" + std::string(name) + "\u201D"; };
    std::vector<std::string> steps;
    for (auto change = batch.changes.rbegin(); change != batch.changes.rend(); ++change) {
        switch (change->kind) {
        case ChangeKind::Copy:
        case ChangeKind::Link: steps.push_back("Remove " + quoted(change->to) + " from " + change->toFolder); break;
        case ChangeKind::Move:
            steps.push_back("Move " + quoted(change->from) + " back from " + change->toFolder + " to " + change->folder);
            break;
        case ChangeKind::Rename:
            steps.push_back("Rename " + quoted(change->to) + " back to " + quoted(change->from) + " in " +
                            change->folder);
            break;
        case ChangeKind::Folder: break;  // a folder the batch made goes when it is empty, unsaid
        }
    }
    return steps;
}

}  // namespace tokenade
