"""Titles in families, as a real set keeps one game: the same title in several
regions, revisions, discs, demos and languages, now and then once more in
capitals, so that many names share a long prefix:

    Admiral (Brazil) (Demo) (Disc 2)
    Admiral (Brazil) (Demo) (Rev 1)
    ADMIRAL (BRAZIL) (DISC 2)
    Admiral (Brazil) (En,Fr,De)

FamilyMaker(rng).family() gives the titles of one family (2 to 12, NFC, no
extension, no two alike but the capital ones, which are alike but for letter
case with another member). The stems come from TitleMaker, so accents, kana,
kanji and periods come in about as often as in the realistic style (a bit
more often: the tags are all ASCII).
"""
from realistic_titles import REGIONS, TitleMaker, WeightedChoice

FAMILY_SIZE = WeightedChoice([(2, 10), (3, 14), (4, 14), (5, 12), (6, 10), (7, 8), (8, 6), (10, 4), (12, 3)])
# Tags a member may carry after its region, each with its own chance.
MEMBER_TAGS = [("(Rev 1)", 0.15), ("(Rev 2)", 0.05), ("(Demo)", 0.10), ("(Beta)", 0.06), ("(Proto)", 0.03),
               ("(En,Fr,De)", 0.08), ("(En,Ja)", 0.04), ("(Disc 1)", 0.08), ("(Disc 2)", 0.08)]
CAPITALS = 0.03  # share of members written once more in capitals


class FamilyMaker:
    def __init__(self, rng):
        self.rng = rng
        self.titles = TitleMaker(rng)

    def stem(self):
        """A title without its tags, a few words long."""
        rng = self.rng
        flavor = rng.random()
        if flavor < 0.05:
            return self.titles._japanese(rng.randint(1, 3))
        if flavor < 0.105:
            country = rng.choice(["France", "Germany", "Spain"])
            return self.titles._european(country, rng.randint(1, 3))
        return self.titles._english(rng.randint(1, 3))

    def family(self):
        rng = self.rng
        stem = self.stem()
        size = FAMILY_SIZE(rng)
        regions = rng.sample([region for region, _ in REGIONS], rng.randint(1, 4))
        members = []
        for _ in range(4 * size):  # a few draws repeat a member
            title = stem + " (" + rng.choice(regions) + ")"
            for tag, chance in MEMBER_TAGS:
                if rng.random() < chance:
                    title += " " + tag
            if title not in members:
                members.append(title)
            if len(members) == size:
                break
        capitals = [title.upper() for title in members if rng.random() < CAPITALS]
        return members + [title for title in capitals if title not in members]
