"""What a learner types into Mozc beside the course: the mock exam's first
line and the game's words. Each chunk: the romaji, the space presses that
bring up the wanted candidate (0 = keep the kana) and the text it commits.
Mozc's learning is off in the session, so these hold for every run, under
ibus and fcitx5 alike (found once by typing each chunk and watching what
arrived)."""

# The exam text kisetsu.ken, its first line after the full-width space it
# starts with, chunk by chunk as typed in one go.
KISETSU_LINE1 = [
    ("nihonn", 1, "日本"), ("niha", 0, "には"), ("haru", 1, "春"), (",", 0, "、"), ("natsu", 1, "夏"),
    (",", 0, "、"), ("aki", 1, "秋"), (",", 0, "、"), ("fuyu", 1, "冬"), ("no", 0, "の"), ("yottsu", 3, "四つ"),
    ("no", 0, "の"), ("kisetsu", 1, "季節"), ("gaari", 0, "があり"), (",", 0, "、"), ("sorezore", 0, "それぞれ"),
    ("gahakkiritoshita", 0, "がはっきりとした"),
]

# The learner's slip: 春 again where 夏 is due, the same length, so the
# comparison finds one wrong character (the 8th of line 1).
KISETSU_SLIP = (4, ("haru", 1, "春"))

# The game's words, a few of the shipped list, by their hint (the reading,
# which the window title shows for the target): (romaji, spaces, word).
# Each converts alike whatever word was shot before it.
GAME_WORDS = {
    "ふじさん": ("fujisann", 1, "富士山"),
    "しんかんせん": ("shinkannsenn", 1, "新幹線"),
    "としょかん": ("toshokann", 1, "図書館"),
    "ほっかいどう": ("hokkaidou", 1, "北海道"),
    "じてんしゃ": ("jitennsha", 1, "自転車"),
    "れいぞうこ": ("reizouko", 1, "冷蔵庫"),
    "ありがとう": ("arigatou", 0, "ありがとう"),
}

# The player's slip on each word: another word that begins alike, committed
# whole where the word is due.
GAME_SLIPS = {
    "富士山": ("fugou", 2, "富豪"),
    "新幹線": ("shinnbunn", 1, "新聞"),
    "図書館": ("toshoshitsu", 1, "図書室"),
    "北海道": ("hokkyoku", 1, "北極"),
    "自転車": ("jidousha", 1, "自動車"),
    "冷蔵庫": ("reitouko", 1, "冷凍庫"),
    "ありがとう": ("arigatai", 0, "ありがたい"),
}
