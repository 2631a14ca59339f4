"""What a learner types into Mozc in the course's later lessons, chunk by
chunk: (romaji, space presses for the wanted candidate, text committed).
Romaji None is a space pressed with nothing composed: Mozc commits a
full-width space at once. Mozc's learning is off in the session, so these
hold for every run, under ibus and fcitx5 alike (found once by typing each
chunk and watching the candidates)."""

# Lesson 6, page 1 (words between full-width spaces).
LESSON6_PAGE1 = [
    ("tousai", 1, "搭載"), (None, 0, "　"), ("tousai", 1, "搭載"), (None, 0, "　"),
    ("kousoku", 1, "高速"), (None, 0, "　"), ("kousoku", 1, "高速"), (None, 0, "　"),
    ("saidai", 1, "最大"), (None, 0, "　"), ("saidai", 1, "最大"), (None, 0, "　"),
    ("seinou", 1, "性能"), (None, 0, "　"), ("seinou", 1, "性能"), (None, 0, "　"),
    ("bubun", 1, "部分"), (None, 0, "　"), ("bubun", 1, "部分"),
]

# Lesson 7: the commits at its line boundaries. The rest of each line is
# entered as exact text; each chunk follows a fresh focus move, so Mozc's
# context is the same in every run.
LESSON7_END_OF_LINE1 = ("jibun", 3, "時分")
# One commit over the end of line 2: "ことがある。" completes it and
# "なぜそんな" carries on into line 3's box.
LESSON7_OVER_LINE2 = ("kotogaaru.nazesonnna", 0, "ことがある。なぜそんな")
# Line 8 in two conversions; the second ends the lesson.
LESSON7_LINE8 = [("misemasuto", 1, "見せますと"), ("kotaeta.", 1, "答えた。")]
