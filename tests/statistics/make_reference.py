#!/usr/bin/python3
"""Reference values of statistics/ from SciPy 1.10 and R (fisher.test, p.adjust), and, where
neither has the exact method with ties, from full enumeration written here.

Regenerate: /usr/bin/python3 tests/statistics/make_reference.py > tests/statistics/reference.tsv

Columns: name, kind, data, statistic, df, p, method, effect ("nan" = none). Data: groups (or
table rows) separated by "|", values by ",".
"""
import itertools
import math
import subprocess

import numpy as np
from scipy import stats

NAN = float("nan")


def fmt(v):
    return "nan" if v is None or (isinstance(v, float) and math.isnan(v)) else repr(float(v))


def data_text(groups):
    return "|".join(",".join(repr(x) if isinstance(x, float) else str(x) for x in g) for g in groups)


def row(name, kind, groups, statistic, df, p, method, effect=NAN):
    print("\t".join([name, kind, data_text(groups), fmt(statistic), fmt(df), fmt(p), method, fmt(effect)]))


def r_value(expression):
    out = subprocess.run(["Rscript", "-e", f"cat(format({expression}, digits=17))"],
                         capture_output=True, text=True, check=True).stdout
    return [float(x) for x in out.split()]


def r_matrix(table):
    cells = ",".join(str(x) for column in zip(*table) for x in column)
    return f"matrix(c({cells}), nrow={len(table)})"


def enumerated_mann_whitney_p(x, y):
    """Two-sided exact p: every way of choosing the smaller group's positions among the mid-ranks."""
    small, large = (x, y) if len(x) <= len(y) else (y, x)
    ranks = stats.rankdata(list(small) + list(large))
    observed = sum(ranks[: len(small)])
    at_most = at_least = total = 0
    for chosen in itertools.combinations(range(len(ranks)), len(small)):
        s = sum(ranks[i] for i in chosen)
        total += 1
        at_most += s <= observed + 1e-9
        at_least += s >= observed - 1e-9
    return min(1.0, 2.0 * min(at_most, at_least) / total)


print("# name\tkind\tdata\tstatistic\tdf\tp\tmethod\teffect")

# Description: median, quartiles (type 7 = numpy's linear), mean, sample SD.
for name, values in [("describe_ties", [2.41, 2.18, 2.75, 2.41, 3.02, 1.96, 2.41, 2.6]),
                     ("describe_two", [3.1, 2.5]),
                     ("describe_one", [2.87])]:
    v = np.array(values)
    q1, med, q3 = np.percentile(v, [25, 50, 75])
    sd = v.std(ddof=1) if len(v) > 1 else NAN
    # statistic = median, df = q1, p = q3, effect = sd; the mean in the method column's place is
    # not needed: the row "mean" follows.
    row(name, "describe", [values], med, q1, q3, "none", sd)
    row(name + "_mean", "mean", [values], v.mean(), NAN, NAN, "none")

# Pearson's chi-square without continuity correction; empty lines left out; Cramér's V.
for name, table in [("chi_3x2", [[30, 22], [12, 20], [5, 9]]),
                    ("chi_empty_level", [[14, 9, 11], [6, 10, 3], [0, 0, 0], [2, 1, 7]]),
                    ("chi_2x2", [[20, 8], [9, 15]])]:
    kept = [r for r in table if sum(r) > 0]
    kept = [list(c) for c in zip(*[c for c in zip(*kept) if sum(c) > 0])]
    chi, p, df, _ = stats.chi2_contingency(np.array(kept), correction=False)
    n = sum(map(sum, kept))
    v = math.sqrt(chi / (n * (min(len(kept), len(kept[0])) - 1)))
    row(name, "chi-square", table, chi, df, p, "asymptotic", v)

# Fisher's exact 2 x 2 (statistic: the sample odds ratio).
for name, table in [("fisher_small", [[3, 1], [1, 3]]), ("fisher_lopsided", [[9, 1], [2, 7]]),
                    ("fisher_zero", [[0, 5], [4, 2]])]:
    odds, p = stats.fisher_exact(table)
    row(name, "fisher-exact", table, odds, NAN, p, "exact")

# Fisher-Freeman-Halton by R's fisher.test (network algorithm), an empty level included.
for name, table in [("ffh_3x3", [[3, 1, 0], [2, 5, 1], [0, 4, 2]]),
                    ("ffh_4x2_empty", [[6, 2], [3, 4], [0, 0], [1, 5]]),
                    ("ffh_2x4", [[4, 1, 0, 2], [1, 3, 3, 0]])]:
    kept = [r for r in table if sum(r) > 0]
    p = r_value(f"fisher.test({r_matrix(kept)})$p.value")[0]
    row(name, "fisher-freeman-halton", table, NAN, NAN, p, "exact")
# The same p reached by random tables once enumeration is not allowed (checked within 0.005).
# Small counts are drawn by walking out from the mode, larger ones by rejection: one table each.
for name, kept in [("ffh_monte_carlo", [[5, 3, 1], [2, 6, 4], [1, 2, 7]]),
                   ("ffh_monte_carlo_large", [[120, 90, 4], [30, 25, 1], [20, 12, 5]])]:
    row(name, "ffh-monte-carlo", kept, NAN, NAN, r_value(f"fisher.test({r_matrix(kept)})$p.value")[0], "monte-carlo")

# Mann-Whitney: exact without ties (SciPy), exact with ties (enumerated), normal approximation
# with tie and continuity correction (SciPy); U of the first group; rank-biserial 2U/(n1 n2) - 1.
def mw(name, x, y, method):
    u, _ = stats.mannwhitneyu(x, y, alternative="two-sided", method="asymptotic")
    if method == "exact" and len(set(x + y)) == len(x + y):
        p = stats.mannwhitneyu(x, y, alternative="two-sided", method="exact").pvalue
    elif method == "exact":
        p = enumerated_mann_whitney_p(x, y)
    else:
        p = stats.mannwhitneyu(x, y, alternative="two-sided", method="asymptotic", use_continuity=True).pvalue
    row(name, "mann-whitney", [x, y], u, NAN, p, method, 2 * u / (len(x) * len(y)) - 1)


mw("mw_exact_untied", [2.31, 2.84, 1.97, 3.12, 2.55], [2.02, 2.18, 2.44, 1.88, 2.09, 2.27], "exact")
mw("mw_exact_ties", [2.41, 2.41, 2.6, 3.02, 2.75, 2.41], [2.18, 2.41, 1.96, 2.18, 2.6, 2.05, 2.3], "exact")
mw("mw_one_each", [2.5], [3.1], "exact")
mw("mw_kerdo_ties", [-5, 3, 3, 10, 0, -5, 12], [3, -12, -5, 0, -20, 3], "exact")
rng = np.random.default_rng(21)
big_x = [round(v, 2) for v in rng.normal(2.4, 0.3, 30)]
big_y = [round(v, 2) for v in rng.normal(2.6, 0.3, 26)]
mw("mw_asymptotic_26", big_x, big_y, "asymptotic")
# The switch: a smaller group of 25 is still exact (untied, so SciPy's exact method applies).
distinct = [round(1.5 + v / 100, 2) for v in rng.permutation(200)[:55]]
mw("mw_exact_at_25", distinct[:25], [v + 0.005 for v in distinct[25:]], "exact")

# Kruskal-Wallis with the tie correction; effect H / (N - 1).
for name, groups in [("kw_three_ties", [[2.41, 2.6, 2.41, 3.02], [2.18, 2.41, 1.96, 2.05, 2.3], [2.9, 3.1, 2.75, 3.3]]),
                     ("kw_with_single", [[1.0], [2.0, 3.0], [4.0, 5.0, 5.0]])]:
    h, p = stats.kruskal(*groups)
    n = sum(map(len, groups))
    row(name, "kruskal-wallis", groups, h, len(groups) - 1, p, "asymptotic", h / (n - 1))

# Holm's adjustment (R's p.adjust); data: the raw p-values.
raw = [0.01, 0.04, 0.03, 0.2]
for i, p in enumerate(r_value(f"p.adjust(c({','.join(map(str, raw))}), 'holm')")):
    row(f"holm_{i}", "holm", [raw], NAN, NAN, p, "none", i)

# Spearman: rho of mid-ranks, p from Student's t with n - 2 df (SciPy's).
for name, x, y in [("spearman_ties", [2.41, 2.18, 2.75, 2.41, 3.02, 1.96, 2.6, 2.3],
                    [15, 13, 17, 16, 17, 13, 14, 15]),
                   ("spearman_bmi", [2.1, 2.5, 2.3, 2.9, 3.2, 2.0, 2.7], [18.5, 22.1, 19.9, 25.3, 27.0, 21.0, 20.2])]:
    rho, p = stats.spearmanr(x, y)
    row(name, "spearman", [x, y], rho, len(x) - 2, p, "asymptotic", rho)
