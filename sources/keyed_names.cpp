#include "keyed_names.h"

#include "platform/foundation/unicode_key.h"
#include "sources/path_rules.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace tokenade {
namespace {

// A name's place in a sort: the first sixteen key bytes, in an order that
// integer comparison keeps, and where the name stands.
struct SortRecord {
    uint64_t high;
    uint64_t low;
    uint32_t index;
};

uint64_t bigEndianPrefix(std::string_view key, size_t from)
{
    unsigned char bytes[8] = {};
    if (from < key.size())
        std::memcpy(bytes, key.data() + from, std::min<size_t>(8, key.size() - from));
    uint64_t value = 0;
    for (unsigned char byte : bytes)
        value = value << 8 | byte;
    return value;
}

std::string_view comparedPart(std::string_view name, SortBy by)
{
    return by == SortBy::LastPathComponent ? lastPathComponent(name) : name;
}

constexpr size_t kParallelSortThreshold = 50000;

}  // namespace

KeyedNames::KeyedNames(NameList names, SortBy by)
{
    keyEnds_.reserve(names.size());
    keyBytes_.reserve(names.size() * 16);
    std::string key;
    for (const std::string& name : names) {
        unicodeKeyInto(comparedPart(name, by), key);
        keyBytes_.append(key);
        keyEnds_.push_back(static_cast<uint32_t>(keyBytes_.size()));
    }
    names_ = std::move(names);
}

void KeyedNames::add(std::string name, SortBy by)
{
    materialize();
    thread_local std::string key;
    unicodeKeyInto(comparedPart(name, by), key);
    keyBytes_.append(key);
    keyEnds_.push_back(static_cast<uint32_t>(keyBytes_.size()));
    names_.push_back(std::move(name));
}

void KeyedNames::append(KeyedNames&& other)
{
    materialize();
    other.materialize();
    const uint32_t offset = static_cast<uint32_t>(keyBytes_.size());
    keyBytes_.append(other.keyBytes_);
    for (uint32_t end : other.keyEnds_)
        keyEnds_.push_back(end + offset);
    names_.insert(names_.end(), std::make_move_iterator(other.names_.begin()),
                  std::make_move_iterator(other.names_.end()));
    other = KeyedNames();
}

void KeyedNames::sort(unsigned threads)
{
    materialize();
    std::vector<SortRecord> records(names_.size());
    for (uint32_t i = 0; i < records.size(); ++i) {
        const std::string_view k = storedKey(i);
        records[i] = {bigEndianPrefix(k, 0), bigEndianPrefix(k, 8), i};
    }
    const auto before = [this](const SortRecord& a, const SortRecord& b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        // Same first sixteen bytes (or a key padded with zero bytes): the whole keys decide.
        const int byKey = storedKey(a.index).compare(storedKey(b.index));
        return byKey != 0 ? byKey < 0 : names_[a.index] < names_[b.index];
    };
    if (threads > 1 && records.size() >= kParallelSortThreshold) {
        const auto middle = records.begin() + static_cast<std::ptrdiff_t>(records.size() / 2);
        std::thread firstHalf([&] { std::sort(records.begin(), middle, before); });
        std::sort(middle, records.end(), before);
        firstHalf.join();
        std::inplace_merge(records.begin(), middle, records.end(), before);
    } else {
        std::sort(records.begin(), records.end(), before);
    }

    order_.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i)
        order_[i] = records[i].index;
}

void KeyedNames::materialize()
{
    if (order_.empty())
        return;
    NameList names;
    names.reserve(names_.size());
    std::string keys;
    keys.reserve(keyBytes_.size());
    std::vector<uint32_t> ends;
    ends.reserve(keyEnds_.size());
    for (uint32_t stored : order_) {
        names.push_back(std::move(names_[stored]));
        keys.append(storedKey(stored));
        ends.push_back(static_cast<uint32_t>(keys.size()));
    }
    names_ = std::move(names);
    keyBytes_ = std::move(keys);
    keyEnds_ = std::move(ends);
    order_.clear();
}

NameList KeyedNames::takeNames()
{
    if (!order_.empty()) {
        NameList names;
        names.reserve(names_.size());
        for (uint32_t stored : order_)
            names.push_back(std::move(names_[stored]));
        *this = KeyedNames();
        return names;
    }
    NameList names = std::move(names_);
    *this = KeyedNames();
    return names;
}

}  // namespace tokenade
