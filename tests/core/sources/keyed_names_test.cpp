#include "core/sources/extension_rewrite.h"
#include "core/sources/keyed_names.h"

#include "core/foundation/unicode_key.h"
#include "core/sources/path_rules.h"

#include <gtest/gtest.h>

#include <random>

namespace tokenade {
namespace {

KeyedNames keyed(const std::vector<std::string>& names)
{
    KeyedNames list;
    for (size_t i = 0; i < names.size(); ++i)
        list.add(names[i], static_cast<uint32_t>(i));
    return list;
}

std::vector<std::string> namesOf(const KeyedNames& list)
{
    std::vector<std::string> names;
    for (const KeyedName& name : list.all())
        names.emplace_back(name.name());
    return names;
}

// Names from a small alphabet, so that repeats, letter-case twins, prefixes
// longer than the sixteen bytes of a record and decomposed accents are common.
std::vector<std::string> randomTitles(std::mt19937& random, size_t count)
{
    static const char* const pieces[] = {"Super Mario ", "super MARIO ", "Bros.", "(USA)", " ", "\xC3\xA9", "e\xCC\x81",
                                         "-", "1", "\xEF\xBC\xA6", "a"};
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
        std::string name;
        for (int length = 1 + random() % 5; length > 0; --length)
            name += pieces[random() % std::size(pieces)];
        names.push_back(name + (random() % 2 ? ".zip" : ".ZIP"));
    }
    return names;
}

TEST(KeyedNames, ParallelSortGivesTheSerialOrderAndAgreesWithTheKeysEvenForEmptyNames)
{
    std::mt19937 random(11);
    std::vector<std::string> names = randomTitles(random, 120000);
    // An empty name first, where the arena has no bytes yet to point into, and more among the others.
    names.insert(names.begin(), "");
    names.insert(names.begin() + names.size() / 2, "");
    KeyedNames serial = keyed(names);
    KeyedNames parallel = keyed(names);
    serial.sort(1);
    parallel.sort(2);
    EXPECT_EQ(namesOf(parallel), namesOf(serial));
    for (size_t i = 1; i < serial.size(); ++i) {
        const int order = compareSringsCaseInsensitive(serial[i - 1], serial[i]);
        const std::string a = unicodeKey(serial[i - 1].name()), b = unicodeKey(serial[i].name());
        ASSERT_EQ(order, (a > b) - (a < b)) << serial[i - 1].name() << " / " << serial[i].name();
        ASSERT_TRUE(order < 0 || serial[i - 1].name() <= serial[i].name());
    }
}

// Lists hand their arenas on; an arena used after its move must not write
// into the room its successor fills next, nor a long list line over names.
TEST(NameArena, StoredNamesStayAsTheyWereThroughMovesAndLongLines)
{
    NameArena first, third;
    const std::string_view kept = first.store("Super Mario Bros.");
    NameArena second = std::move(first);
    third = std::move(second);
    const std::string_view late = first.store("Dr. Mario (Japan, USA)");
    const std::string_view later = second.store("Pok\xC3\xA9mon Red");
    third.store("Zelda: A Link to the Past");
    const std::string longLine(100000, 'Z');
    EXPECT_EQ(third.store(longLine), longLine);
    EXPECT_EQ(kept, "Super Mario Bros.");
    EXPECT_EQ(late, "Dr. Mario (Japan, USA)");
    EXPECT_EQ(later, "Pok\xC3\xA9mon Red");
}

// A key of its own is kept beside the name's bytes: both must come back as
// given, for ASCII names and others, the empty one too.
TEST(KeyedNames, OwnKeysComeBackAsStored)
{
    const char* const names[] = {"Admiral (Brazil) (Demo) (Disc 2).zip", "ADMIRAL (BRAZIL) (DISC 2).zip",
                                 "Pok\xC3\xA9mon Rouge (France) (Rev 1).zip", "Poke\xCC\x81mon Rouge (France).zip", ""};
    KeyedNames list;
    for (const char* name : names)
        list.add(name, 1);
    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(list[i].name(), names[i]);
        EXPECT_EQ(list[i].keyLength(), unicodeKey(names[i]).size());
    }
}

TEST(KeyedNames, ExtensionRewriteKeepsOrderAndOriginsAndKeys)
{
    const std::vector<std::string_view> lines{"Tetris", "Dr. Mario (Japan, USA)", "Pok\xC3\xA9mon.7z", "beta.ZIP"};
    const KeyedNames expected = setExtension("zip", lines);
    EXPECT_EQ(namesOf(expected),
              (std::vector<std::string>{"Tetris.zip", "Dr.zip", "Pok\xC3\xA9mon.zip", "beta.zip"}));
    EXPECT_EQ(expected[2].origin, 2u);

    std::mt19937 random(3);
    std::vector<std::string> titles = randomTitles(random, 2000);
    titles.push_back("Zelda.z");  // an extension of another length is stored anew
    const KeyedNames videos = setExtension("xmv", keyed(titles));
    ASSERT_EQ(videos.size(), titles.size());
    for (size_t i = 0; i < videos.size(); ++i) {
        std::string name = titles[i];
        replacePathExtension(name, "xmv");
        KeyedNames computed;
        computed.add(name, 0);
        ASSERT_EQ(videos[i].name(), name);
        ASSERT_EQ(compareSringsCaseInsensitive(videos[i], computed[0]), 0) << name;
        ASSERT_EQ(videos[i].origin, i);
    }
}

}  // namespace
}  // namespace tokenade
