#!/usr/bin/env python3
"""Fills FOLDER with COUNT empty message files for the message-list benchmarks: names with
subjects and 12-digit codes of random flags, random last-write times over ten years.

    make_list_folder.py FOLDER COUNT
"""
import os, random, sys
folder, count = sys.argv[1], int(sys.argv[2])
random.seed(12)
words = ["Budget", "review", "Meeting", "Report", "Lunch", "Project", "status", "Re:", "Fwd:",
         "Quarterly", "plan", "Invoice", "Call", "Travel", "notes", "Offer", "draft", "Team"]
kinds = [0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020]
boxes = [0x0040, 0x0080, 0x0100]
start = 1262304000  # 2010-01-01
span = 10 * 365 * 86400
for i in range(count):
    subject = " ".join(random.choice(words) for _ in range(random.randint(1, 5)))
    flags = (random.choice(kinds) | random.choice(boxes) | random.choice([0, 0x0200, 0x0400, 0x0800])
             | random.choice([0, 0x1000]) | random.choice([0, 0x2000, 0x2000])
             | random.choice([0, 0, 0x4000, 0x8000]))
    name = "%s %d [%04x%08x].pml" % (subject, i, flags, random.getrandbits(28))
    path = os.path.join(folder, name)
    with open(path, "wb"):
        pass
    t = start + random.randrange(span)
    os.utime(path, (t, t))
