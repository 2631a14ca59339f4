"""What a learner types into Mozc for each text, chunk by chunk: the romaji,
the space presses that bring up the wanted candidate (0 = keep the kana),
and the text the chunk commits. Mozc's learning is off in the session, so
these hold for every run, under ibus and fcitx5 alike (found once by typing
each chunk and watching the candidates)."""

# Lesson 0's speed test, one list per line; moving to the next line's box
# resets Mozc's context, so the counts are per line as typed.
SPEED_TEST = [
    [("oyayuzuri", 1, "親譲り"), ("no", 0, "の"), ("muteppou", 1, "無鉄砲"), ("de", 0, "で"),
     ("kodomo", 1, "子供"), ("no", 0, "の"), ("toki", 2, "時"), ("kara", 0, "から"), ("sonn", 1, "損"),
     ("bakari", 0, "ばかり"), ("shiteiru.", 0, "している。"), ("shougakkou", 1, "小学校"),
     ("niiru", 0, "にいる"), ("jibun", 3, "時分")],
    [("gakkou", 1, "学校"), ("no", 0, "の"), ("ni", 1, "二"), ("kai", 2, "階"), ("kara", 0, "から"),
     ("tobiorite", 1, "飛び降りて"), (",", 0, "、"), ("isshuukan", 1, "一週間"), ("hodo", 0, "ほど"),
     ("koshi", 1, "腰"), ("wo", 0, "を"), ("nukashita", 1, "抜かした"), ("kotogaaru.", 0, "ことがある。")],
    [("nazesonnamuyamiwoshitato", 1, "なぜそんなむやみをしたと"), ("kiku", 1, "聞く"), ("hito", 1, "人"),
     ("gaarukamo", 0, "があるかも"), ("shirenu", 2, "知れぬ"), (".", 0, "。"), ("betsudan", 1, "別段"),
     ("fukai", 1, "深い"), ("riyuu", 1, "理由"), ("demonai.", 0, "でもない。")],
]

# A wrong conversion the learner commits in line 1 after 子供, where の is
# expected: は, one character, so one miss.
SPEED_TEST_WRONG = (0, 5, ("ha", 0, "は"))
