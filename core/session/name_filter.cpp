#include "name_filter.h"

#include "core/foundation/ascii.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/unicode_key.h"

namespace tokenade {
namespace {

// Names are compared between clock readings in runs of this many.
constexpr int kNamesBetweenClockReadings = 256;

}  // namespace

void NameFilter::start(std::shared_ptr<const ResultList> names, std::string_view typed)
{
    const std::string needle = unicodeKey(typed);
    const bool narrower = names == names_ && !needle_.empty() && needle.find(needle_) != std::string::npos;
    if (names != names_)
        forget();
    names_ = std::move(names);
    if (narrower) {
        // Only what matched so far can match now, and what was not compared yet.
        std::vector<uint32_t> next = std::move(matches_);
        next.insert(next.end(), candidates_.begin() + static_cast<std::ptrdiff_t>(candidateNext_), candidates_.end());
        candidates_ = std::move(next);
    } else {
        candidates_.clear();
        tailNext_ = 0;
    }
    candidateNext_ = 0;
    matches_.clear();
    typed_ = std::string(typed);
    needle_ = needle;
    needleIsAscii_ = isAscii(needle_);
}

void NameFilter::forget()
{
    names_.reset();
    needle_.clear();
    candidates_.clear();
    candidateNext_ = 0;
    tailNext_ = 0;
    matches_.clear();
    keys_.clear();
    keyEnds_.clear();
}

bool NameFilter::isDone() const
{
    return !isActive() || (candidateNext_ >= candidates_.size() && tailNext_ >= names_->size());
}

bool NameFilter::step(std::chrono::steady_clock::duration budget)
{
    const auto until = std::chrono::steady_clock::now() + budget;
    int sinceReading = 0;
    while (!isDone()) {
        const uint32_t index = candidateNext_ < candidates_.size() ? candidates_[candidateNext_++]
                                                                   : static_cast<uint32_t>(tailNext_++);
        if (matches(index))
            matches_.push_back(index);
        if (++sinceReading == kNamesBetweenClockReadings) {
            sinceReading = 0;
            if (std::chrono::steady_clock::now() >= until)
                break;
        }
    }
    return isDone();
}

// Names are compared in ascending order, so the kept keys only ever grow at their end.
void NameFilter::keepKeysUpTo(uint32_t index)
{
    std::string key;
    while (keyEnds_.size() <= index) {
        const std::string_view name = (*names_)[keyEnds_.size()].name();
        if (!isAscii(name)) {
            unicodeKeyInto(name, key);
            keys_ += key;
        }
        keyEnds_.push_back(keys_.size());
    }
}

bool NameFilter::matches(uint32_t index)
{
    keepKeysUpTo(index);
    const size_t begin = index == 0 ? 0 : keyEnds_[index - 1];
    const size_t end = keyEnds_[index];
    if (begin != end)
        return std::string_view(keys_).substr(begin, end - begin).find(needle_) != std::string_view::npos;
    // An ASCII name's key is its lower case, which holds nothing but ASCII.
    if (!needleIsAscii_)
        return false;
    const std::string_view name = (*names_)[index].name();
    asciiLowerInto(name, lowered_);
    return lowered_.find(needle_) != std::string::npos;
}

std::string NameFilter::summary() const
{
    if (!isActive())
        return {};
    const std::string counts = "Showing " + groupedCount(matches_.size()) + " of " + groupedCount(names_->size());
    if (!isDone())
        return counts + " so far, looking for names that contain \u201C" + typed_ + "\u201D\u2026";
    return counts + " names that contain \u201C" + typed_ + "\u201D.";
}

}  // namespace tokenade
