"""Game titles that look like the archive names of a real collection.

TitleMaker(rng).title() gives a title of 1 to 5 words, sometimes a subtitle
after ": " or " - ", then a region tag and now and then a revision, version,
language or dump tag: "Crystal Knight - Zarvok's Revenge (USA) (Rev 1)".
TitleMaker(rng).short_title() gives one or two words and a region, about 17
bytes. Titles are NFC and carry no extension; they are NOT unique (the caller
draws again on a repeat). The words are made up or plain dictionary words;
the Japanese, French, German and Spanish ones bring the accents, kana and
kanji, and a few words bring periods ("Dr.", "Bros.", "vs.", "(v1.1)").
"""
import bisect
import itertools

ENGLISH = """
Super Mega Ultra Hyper Dark Lost Crystal Shadow Star Space Dragon Knight Quest Legend Island World Land
Kingdom Castle Tower Dungeon Racer Racing Rally Turbo Street Fighter Warrior Ninja Samurai Soldier Commando
Battle War Wars Force Squad Strike Attack Blaster Galaxy Planet Cosmic Rocket Robot Cyber Neon Thunder Storm
Fire Ice Iron Steel Golden Silver Magic Wizard Witch Ghost Monster Zombie Jungle Ocean Pirate Treasure Hunter
Mystery Detective Puzzle Block Tennis Soccer Baseball Golf Hockey Boxing Wrestling Pinball Casino Poker Chess
Party Circus Farm Pet Cat Dog Monkey Penguin Duck Frog Turtle Bear Wolf Tiger Eagle Hawk Falcon Phoenix Hero
Heroes Adventure Adventures Journey Saga Chronicles Tales Story Origins Return Revenge Rising Fury Rage Blade
Sword Shield Arrow Bomber Pilot Jet Wings Sky Cloud Moon Sun Night Midnight Twilight Dawn Eternal Infinite
Final Last First Great Grand Royal Little Big Tiny Crazy Mad Wild Happy Lucky Bubble Candy Cake Pizza Mission
Operation Project Zone Sector Orbit Metal Power Pro Champion Championship Cup League Tournament Arena Challenge
Trials Escape Rescue Patrol Agent Spy Code Secret Hidden Forbidden Ancient Temple Ruins Tomb Pyramid Desert
Mountain Valley River Forest Garden City Town Village Road Highway Express Train Truck Bike Kart Boat Tank
""".split()

# Made-up names: every first syllable with every ending, and a few with accents.
INVENTED = [a + b for a, b in itertools.product(
    "Zar Mel Tris Quil Fen Or Dra Pel Glim Van Kor Bel Thar Mor Zen Lum Cal Ryn Vex Tor Nim Sel Gar Bri "
    "Hal Jor Kal Lio Mar Nor Ash Bax Cor Dun El Fal Gil Hob Ist Jas Kip Lon Mab Ned Os Pim".split(),
    "vok kin co lon nick vale vik low met tor ra dor wick ius ara eth ix on ley bert mund ric zo nia dell "
    "ton by ga mo rix ven ska lin".split())]
INVENTED_ACCENTED = "Élodrin Sérafin Åsgar Brøk Mírdal Zoë Renée Noël Kälvin Dúnmar Ysolde Fañero".split()

JAPANESE = """
ドラゴン クエスト ファンタジー 伝説 冒険 戦記 物語 忍者 サムライ ぼうけん まほう ひかり ゆめ ほし そら がっこう
パズル レーシング ボンバー ロボット 宇宙 探偵 剣 魔王 勇者 少女 学園 ゴースト ジャングル ぎんが かいぞく おばけ
まつり 大作戦 外伝 列伝 ガーディアン ナイト ランド ワールド タワー ダンジョン バトル スター モンスター ヒーロー
キング パラダイス ミステリー テニス サッカー 野球 麻雀 将棋 囲碁 花札 天国 神話 王国 帝国 鉄道 海賊 ぶどう
""".split()

EUROPEAN = {
    "France": ("Château Forêt Épée Légende Rêve Héros Île Aventure Mystère Trésor Chevalier Étoile Côte Fête "
               "Bête Âme Jeu Noël Éclair Météore Cité Royaume Ténèbres Lumière Reine Roi Forteresse Créature "
               "Océan Fantôme Été Hôtel Théâtre École Sœur Cœur").split(),
    "Germany": ("Über Größe Straße Mädchen Fußball König Drachen Jäger Schöne Grün Wölfe Zauberer Ritter "
                "Schloß Brücke Müller Bär Fürst Träume Märchen Hölle Kämpfer Gefährten Schätze Flügel Rätsel "
                "Abenteuer Welt Stern Geschichte").split(),
    "Spain": ("Niño Señor Canción Edición Corazón Mañana Leyenda Campeón Año Misión Fútbol Pequeño Aventura "
              "Tesoro Caballero Montaña Dragón Héroe Búsqueda Guerrero Isla Ciudad Mágico Rojo Azul Oscuro "
              "Último Épico Fantasía Perdido").split(),
}
EUROPEAN_JOINERS = {"France": ["de", "la", "et", "du", "des"], "Germany": ["der", "und", "von", "im"],
                    "Spain": ["de", "la", "el", "y", "del"]}

NUMBERS = ["II", "III", "IV", "2", "3", "4", "64", "2000", "'98", "X", "Zero", "3D"]
TITLE_PREFIXES = ["Dr. ", "Mr. ", "St. ", "Capt. ", "Prof. "]  # each brings a period
REGIONS = [("USA", 30), ("Europe", 20), ("Japan", 14), ("USA, Europe", 8), ("Japan, USA", 4), ("World", 6),
           ("France", 2), ("Germany", 2), ("Spain", 2), ("Italy", 1), ("Korea", 1), ("Brazil", 1),
           ("Australia", 1), ("Japan, Europe", 1), ("Asia", 1)]
REGION_NAMES = [region for region, _ in REGIONS]
LANGUAGES = ["En", "Fr", "De", "Es", "It", "Nl", "Sv", "Ja"]
# Tags after the region, each with its own chance; "(v1.1)" and "(v1.02)" bring periods.
EXTRA_TAGS = [("(Rev 1)", 0.03), ("(Rev 2)", 0.01), ("(Rev A)", 0.01), ("(v1.1)", 0.012), ("(v1.02)", 0.005),
              ("(Beta)", 0.015), ("(Proto)", 0.01), ("(Unl)", 0.02), ("(Demo)", 0.008), ("(Alt 1)", 0.005),
              ("[!]", 0.04), ("[b1]", 0.007), ("[a1]", 0.007), ("[h1C]", 0.003)]


class WeightedChoice:
    """rng-driven choice among (value, weight) pairs, by one random number."""

    def __init__(self, pairs):
        self.values = [value for value, _ in pairs]
        self.cumulative = list(itertools.accumulate(weight for _, weight in pairs))

    def __call__(self, rng):
        return self.values[bisect.bisect_right(self.cumulative, rng.random() * self.cumulative[-1])]


WORD_COUNT = WeightedChoice([(1, 14), (2, 42), (3, 26), (4, 12), (5, 6)])
REGION = WeightedChoice(REGIONS)
SEPARATOR = WeightedChoice([(": ", 50), (" - ", 45), (" – ", 5)])
# Short titles mostly carry the one-letter region codes of older lists.
SHORT_REGION = WeightedChoice([("U", 25), ("E", 15), ("J", 12), ("UE", 8), ("JU", 5), ("W", 5),
                               ("USA", 15), ("Europe", 8), ("Japan", 7)])


class TitleMaker:
    def __init__(self, rng):
        self.rng = rng

    def title(self):
        rng = self.rng
        flavor = rng.random()
        if flavor < 0.04:
            name, region = self._japanese(WORD_COUNT(rng)), self._japanese_region()
        elif flavor < 0.085:
            region = rng.choice(list(EUROPEAN))
            name = self._european(region, WORD_COUNT(rng))
            if rng.random() < 0.4:
                region = "Europe"
        else:
            name, region = self._english(WORD_COUNT(rng)), REGION(rng)
        if rng.random() < 0.2:
            separator = SEPARATOR(rng) if flavor >= 0.04 else " - "
            subtitle = self._japanese(rng.randint(1, 2)) if flavor < 0.04 else self._english(rng.randint(1, 3))
            name += separator + subtitle
        return name + " " + self._tags(region)

    def short_title(self):
        rng = self.rng
        if rng.random() < 0.05:
            return self._japanese(2) + " (J)"
        if rng.random() < 0.15:
            name = self._word() + " " + rng.choice(NUMBERS)
        else:
            name = self._english(2, plain=True)
        return name + " (" + SHORT_REGION(rng) + ")"

    def _word(self):
        rng = self.rng
        pick = rng.random()
        if pick < 0.55:
            return rng.choice(ENGLISH)
        if pick < 0.996:
            return rng.choice(INVENTED)
        return rng.choice(INVENTED_ACCENTED)

    def _english(self, count, plain=False):
        """`count` words with now and then a joining word, a possessive, a
        number, a prefix with a period, "Bros." or a final "?" or "!"."""
        rng = self.rng
        words = [self._word() for _ in range(count)]
        if rng.random() < 0.06:
            i = rng.randrange(count)
            words[i] += "’s" if rng.random() < 0.15 else "'s"
        name = words[0]
        for word in words[1:]:
            join = rng.random()
            if join < 0.03:
                name += " & " + word
            elif join < 0.06:
                name += " and " + word
            elif join < 0.09:
                name += " of " + word
            elif join < 0.094:
                name += " vs. " + word
            else:
                name += " " + word
        if plain:
            return name
        if rng.random() < 0.009:
            name = rng.choice(TITLE_PREFIXES) + name
        if rng.random() < 0.04:
            name = "The " + name if rng.random() < 0.5 else name + ", The"
        if rng.random() < 0.004:
            name += " Bros."
        if rng.random() < 0.004:
            name += f" Vol. {rng.randint(1, 5)}"
        if rng.random() < 0.12:
            name += " " + rng.choice(NUMBERS)
        ending = rng.random()
        if ending < 0.012:
            name += "?"
        elif ending < 0.02:
            name += "!"
        return name

    def _japanese(self, count):
        rng = self.rng
        joiner = "" if rng.random() < 0.6 else " "
        return joiner.join(rng.choice(JAPANESE) for _ in range(count))

    def _japanese_region(self):
        pick = self.rng.random()
        return "Japan" if pick < 0.85 else ("Japan, USA" if pick < 0.95 else "Japan, Korea")

    def _european(self, country, count):
        rng = self.rng
        words = [rng.choice(EUROPEAN[country]) if rng.random() < 0.7 else self._word() for _ in range(count)]
        name = words[0]
        for word in words[1:]:
            name += (" " + rng.choice(EUROPEAN_JOINERS[country]) + " " if rng.random() < 0.3 else " ") + word
        return name

    def _tags(self, region):
        rng = self.rng
        tags = "(" + region + ")"
        if rng.random() < 0.04:
            tags += " (" + ",".join(rng.sample(LANGUAGES, rng.randint(2, 4))) + ")"
        for tag, chance in EXTRA_TAGS:
            if rng.random() < chance:
                tags += " " + tag
        return tags


def list_line(rng, title):
    """A list line for a title: mostly bare, sometimes with ".zip" or ".7z";
    always with one when the title has a period, which would cut it."""
    pick = rng.random()
    if "." in title:
        return title + (".zip" if pick < 0.75 else ".7z")
    return title + (".zip" if pick < 0.08 else ".7z" if pick < 0.11 else "")
