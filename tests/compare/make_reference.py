#!/usr/bin/python3
"""Reference values of the comparison's statistics from SciPy (Debian's python3-scipy).

Regenerate: /usr/bin/python3 tests/compare/make_reference.py > tests/compare/reference_statistics.tsv

Changes are in hundredths of ИФИ. Zero changes are dropped before the signed-rank test; it is
exact up to 50 pairs, else normal with tie and continuity correction. SciPy's exact method has no
ties, so with tied magnitudes the exact p comes from enumerating every sign pattern here.
"""
import itertools
import math
import random

import numpy as np
from scipy import stats


def enumerated_signed_rank_p(nonzero):
    """Two-sided p over all 2^n sign patterns of the mid-ranks: twice the smaller tail, at most 1."""
    ranks = stats.rankdata(np.abs(nonzero))
    observed = sum(r for r, d in zip(ranks, nonzero) if d > 0)
    at_most = at_least = 0
    for signs in itertools.product((0, 1), repeat=len(ranks)):
        t = sum(r for r, s in zip(ranks, signs) if s)
        at_most += t <= observed + 1e-9
        at_least += t >= observed - 1e-9
    return min(1.0, 2.0 * min(at_most, at_least) / 2 ** len(ranks))


rng = random.Random(16)
datasets = [
    ("small_exact", [12, -5, 30, 41, -8, 17, 25, 3], 5, 1),
    ("one_pair", [7], 0, 1),
    ("ties", [10, 10, -10, 20, 20, 20, -5, 15, 10, 30, -20, 5], 3, 4),
    ("zeros", [0, 0, 14, -3, 0, 22, 9, -31, 0, 18], 0, 3),
    ("all_same", [25] * 15, 0, 15),
    ("all_zero", [0] * 6, 0, 0),
    ("exact_limit", [(i + 1) * (1 if i % 3 else -1) for i in range(50)], 20, 28),
    ("just_over_exact", [(i + 1) * (1 if i % 4 else -1) for i in range(51)], 0, 0),
    ("five_equal", [10] * 5, 5, 0),
    ("ten_tied", [10, 10, -10, 20, 20, -20, 30, 30, 30, -5], 6, 4),
    ("ties_with_zeros", [0, 5, -5, 5, 0, 15, 15, -15, 25, 25, 25, 25], 6, 4),
    ("larger_normal", [rng.randint(-60, 90) for _ in range(120)], 31, 52),
]

print("# name\tchanges\tbetter\tworse\tmean\tlower\tupper\tw_pairs\tw_p\tw_exact\ts_pairs\ts_p")
for name, changes, better, worse in datasets:
    d = np.array(changes, dtype=float) / 100.0
    n = len(d)
    mean = d.mean()
    if n >= 2:
        half = stats.t.ppf(0.975, n - 1) * d.std(ddof=1) / math.sqrt(n)
        lower, upper = mean - half, mean + half
    else:
        lower = upper = float("nan")
    nonzero = np.array([c for c in changes if c != 0], dtype=float)
    untied = len(set(abs(c) for c in nonzero)) == len(nonzero)
    exact = 0 < len(nonzero) <= 50
    if exact and not untied:
        w_p = enumerated_signed_rank_p(nonzero)
    elif len(nonzero):
        w_p = stats.wilcoxon(nonzero, method="exact" if exact else "approx", correction=True).pvalue
    else:
        w_p = float("nan")
    s_n = better + worse
    s_p = stats.binomtest(better, s_n, 0.5).pvalue if s_n else float("nan")
    print("\t".join([name, ",".join(map(str, changes)), str(better), str(worse)]
                    + [repr(float(v)) for v in (mean, lower, upper)]
                    + [str(len(nonzero)), repr(float(w_p)), str(int(exact)), str(s_n), repr(float(s_p))]))
