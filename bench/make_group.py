#!/usr/bin/env python3
"""Writes N record files with varied subjects into a folder, for timing the group summary.

usage: make_group.py FOLDER N [VALUES_SEED]

With VALUES_SEED the files keep the same names (and sexes drawn alike) but take other values:
a later examination of the same group, for timing the comparison.
"""
import os
import random
import sys

folder, count = sys.argv[1], int(sys.argv[2])
values_rng = random.Random(int(sys.argv[3])) if len(sys.argv) > 3 else None
os.makedirs(folder, exist_ok=True)
rng = random.Random(12)
surnames = ["Иванов", "Петрова", "Сидоров", "Кузнецова", "Смирнов", "Попова", "Волков", "Соколова"]
for i in range(count):
    name = f"{rng.choice(surnames)} {i}"
    values = [rng.randint(95, 190), rng.randint(55, 110), rng.randint(45, 140), rng.randint(0, 1),
              rng.randint(40, 120), rng.randint(140, 200), rng.randint(14, 80)]
    if values_rng:
        values = [values_rng.randint(95, 190), values_rng.randint(55, 110), values_rng.randint(45, 140), values[3],
                  values_rng.randint(40, 120), values_rng.randint(140, 200), values_rng.randint(14, 80)]
    lines = ["Vornale 5", name] + [str(v) for v in values]
    with open(os.path.join(folder, f"{i:05d}.vnl"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1251"))
