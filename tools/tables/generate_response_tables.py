#!/usr/bin/python3
"""Writes src/dsp/ResponseTables.cpp: the band response tables and their axes.

Run from the repository root with the system Python (standard library only):

    /usr/bin/python3 tools/tables/generate_response_tables.py --output src/dsp/ResponseTables.cpp

The output depends on nothing but this file, so running it twice gives the
same bytes.

Only a few rows of each table are voiced by hand (the ANCHOR_* data below);
every other entry is filled in by a monotone piecewise-cubic interpolation
(Fritsch-Carlson / PCHIP) of the anchors, first along the gain axis, then
along the frequency (or, for the mid Q table, not at all: its anchors cover
every Q column). PCHIP never leaves the range of the two neighbouring data
points, so no entry overshoots the anchors and all stay in 0..1, and it
passes through every anchor exactly. Entries are rounded to five decimals,
the precision of the anchors, which keeps the anchors bit-identical to their
printed values and keeps monotone runs monotone.

Interpolation coordinates:
- Gain: dB, which is the column index; the lookup itself is linear in dB.
- Frequency: log of the knob frequency in Hz. The high band's breakpoints are
  spaced unevenly in Hz (2500 to 4000 Hz in 10 % steps, then roughly 45 %
  steps up to 25 kHz), so the row index would distort the curve; in log Hz
  the spacing is nearly even above 4 kHz and matches how a frequency knob is
  heard. The frequency fields of the anchors follow the knob close to a power
  law (the low shelf runs 59.6 / 172.5 / 282 Hz for knob 30 / 150 / 300 Hz,
  exponents 0.66 and 0.71), which is close to a straight line in log knob Hz
  and far from one in linear Hz. The low band uses the same coordinate for
  consistency.
"""

import argparse
import math
import sys

LOW_FREQS_HZ = [30 * (k + 1) for k in range(10)]
HIGH_FREQ_BREAKPOINTS = [2500, 2750, 3000, 3300, 3600, 4000, 5700, 8400, 11700, 17300, 25000]
MID_Q_BREAKPOINTS = ["0.7", "0.9", "1.1", "1.3", "1.6", "2.0", "2.4", "2.8", "3.4", "4.2", "5.0"]
GAINS_DB = list(range(13))

# (knob Hz, knob dB) -> six fields: shelf freq, shelf gain, shelf Q, bell freq, bell gain, bell Q.
ANCHOR_LOW = {
    (30, 0): "0.10963 0.50000 0.61014 0.05723 0.50000 0.57223",
    (30, 6): "0.10319 0.74978 0.55279 0.07787 0.45538 0.56804",
    (30, 12): "0.10319 1.00000 0.42524 0.08747 0.39225 0.51570",
    (150, 0): "0.52783 0.50000 0.56795 0.35379 0.50000 0.43320",
    (150, 6): "0.51138 0.74307 0.56532 0.35379 0.55458 0.39460",
    (150, 12): "0.46029 0.98179 0.53814 0.31878 0.62773 0.34778",
    (300, 0): "0.93418 0.50000 0.28007 0.68404 0.50000 0.30832",
    (300, 6): "0.91179 0.74262 0.31759 0.68404 0.57746 0.27476",
    (300, 12): "0.86091 0.98132 0.34155 0.68404 0.64072 0.21105",
}

# (knob Hz, knob dB) -> six fields: bell freq, bell gain, bell width, shelf freq, shelf gain, shelf Q.
ANCHOR_HIGH = {
    (2500, 0): "0.09245 0.50000 0.64000 0.05700 0.50000 0.35000",
    (2500, 6): "0.09935 0.57178 0.82557 0.06365 0.73918 0.35779",
    (2500, 12): "0.09935 0.65182 0.82321 0.07526 0.97750 0.41268",
    (5700, 0): "0.10000 0.50000 0.70573 0.12580 0.50000 0.40565",
    (5700, 6): "0.22268 0.52827 0.70573 0.13484 0.74450 0.41067",
    (5700, 12): "0.21958 0.55602 0.88005 0.15013 0.98952 0.41242",
    (11700, 0): "0.29893 0.50000 0.88778 0.21000 0.50000 0.42978",
    (11700, 6): "0.31859 0.48799 0.94112 0.23542 0.74826 0.41088",
    (11700, 12): "0.35720 0.46717 0.94112 0.25158 0.99734 0.36991",
    (25000, 0): "0.45000 0.50000 0.73000 0.50000 0.50000 0.10000",
    (25000, 6): "0.48711 0.44719 0.73526 0.49252 0.69637 0.07696",
    (25000, 12): "0.51066 0.39201 0.80932 0.49230 0.89044 0.07015",
}

# Q knob -> (low-mid, mid, high-mid) at 0 dB and at 12 dB.
ANCHOR_MID_Q = {
    "0.7": ("0.03363 0.03319 0.04062", "0.05658 0.05356 0.06104"),
    "0.9": ("0.05939 0.06309 0.06069", "0.09012 0.09100 0.08789"),
    "1.1": ("0.08331 0.09107 0.08226", "0.12343 0.12521 0.11508"),
    "1.3": ("0.11297 0.12200 0.10206", "0.15693 0.16270 0.14394"),
    "1.6": ("0.15121 0.15849 0.13919", "0.21055 0.21376 0.18528"),
    "2.0": ("0.20353 0.21912 0.17751", "0.27674 0.28583 0.23908"),
    "2.4": ("0.25324 0.27037 0.21845", "0.34043 0.35394 0.29503"),
    "2.8": ("0.30586 0.30816 0.26158", "0.41523 0.40441 0.34748"),
    "3.4": ("0.38839 0.37975 0.33465", "0.50990 0.49798 0.43532"),
    "4.2": ("0.48602 0.47895 0.41446", "0.63835 0.63372 0.54814"),
    "5.0": ("0.59508 0.57269 0.50220", "0.77265 0.75045 0.66103"),
}


def fields(text):
    return [float(v) for v in text.split()]


def sign(v):
    return (v > 0) - (v < 0)


class MonotoneCubic:
    """Shape-preserving piecewise-cubic Hermite interpolant (Fritsch-Carlson,
    with the weighted harmonic mean for interior slopes and the three-point
    end slopes limited so that they keep the sign of the end interval)."""

    def __init__(self, xs, ys):
        assert len(xs) == len(ys) >= 2
        assert all(b > a for a, b in zip(xs, xs[1:]))
        self.xs, self.ys = list(xs), list(ys)
        h = [b - a for a, b in zip(xs, xs[1:])]
        delta = [(ys[i + 1] - ys[i]) / h[i] for i in range(len(h))]
        n = len(xs)
        slopes = [0.0] * n

        if n == 2:
            slopes = [delta[0], delta[0]]
        else:
            for i in range(1, n - 1):
                d0, d1 = delta[i - 1], delta[i]
                if sign(d0) * sign(d1) <= 0:
                    slopes[i] = 0.0   # local extremum or flat: keep it flat
                else:
                    w1 = 2 * h[i] + h[i - 1]
                    w2 = h[i] + 2 * h[i - 1]
                    slopes[i] = (w1 + w2) / (w1 / d0 + w2 / d1)
            slopes[0] = self._end_slope(h[0], h[1], delta[0], delta[1])
            slopes[-1] = self._end_slope(h[-1], h[-2], delta[-1], delta[-2])

        self.h, self.delta, self.slopes = h, delta, slopes

    @staticmethod
    def _end_slope(h0, h1, d0, d1):
        m = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1)
        if sign(m) != sign(d0):
            return 0.0
        if sign(d0) != sign(d1) and abs(m) > abs(3 * d0):
            return 3 * d0
        return m

    def __call__(self, x):
        xs = self.xs
        assert xs[0] <= x <= xs[-1]
        i = 0
        while i < len(xs) - 2 and x > xs[i + 1]:
            i += 1
        h, d = self.h[i], self.delta[i]
        m0, m1 = self.slopes[i], self.slopes[i + 1]
        s = x - xs[i]
        # Written around y0 so that a flat interval returns y0 exactly.
        c2 = (3 * d - 2 * m0 - m1) / h
        c3 = (m0 + m1 - 2 * d) / (h * h)
        y = self.ys[i] + s * (m0 + s * (c2 + s * c3))
        lo, hi = sorted((self.ys[i], self.ys[i + 1]))
        assert lo - 1e-12 <= y <= hi + 1e-12, "interpolant left its interval"
        return min(max(y, lo), hi)


def fill_band_table(anchors, row_freqs, num_fields):
    """Returns table[row][col] = list of fields for every knob frequency row and
    gain column, interpolated from the anchor rows (full grid of anchor
    frequencies x anchor gains)."""
    anchor_freqs = sorted({f for f, _ in anchors})
    anchor_gains = sorted({g for _, g in anchors})
    assert all((f, g) in anchors for f in anchor_freqs for g in anchor_gains)

    # Along gain, for each anchor frequency.
    by_gain = {}
    for f in anchor_freqs:
        for field in range(num_fields):
            curve = MonotoneCubic(anchor_gains, [fields(anchors[(f, g)])[field] for g in anchor_gains])
            for g in GAINS_DB:
                by_gain[(f, g, field)] = curve(g)

    # Then along log knob frequency, for each gain column.
    log_anchor = [math.log(f) for f in anchor_freqs]
    table = [[[0.0] * num_fields for _ in GAINS_DB] for _ in row_freqs]
    for g in GAINS_DB:
        for field in range(num_fields):
            curve = MonotoneCubic(log_anchor, [by_gain[(f, g, field)] for f in anchor_freqs])
            for k, f in enumerate(row_freqs):
                table[k][g][field] = curve(math.log(f))

    # Anchors are kept as given, not as interpolated.
    for (f, g), text in anchors.items():
        table[row_freqs.index(f)][g] = fields(text)
    return table


def fill_mid_q_table():
    """Returns table[gain row][Q column] = [low-mid, mid, high-mid]. Below 1 dB
    the width does not change with gain, so row 1 repeats row 0 and takes
    part in the interpolation as an anchor; the curve leaves it flat."""
    table = [[None] * len(MID_Q_BREAKPOINTS) for _ in GAINS_DB]
    for m, q in enumerate(MID_Q_BREAKPOINTS):
        at0, at12 = (fields(t) for t in ANCHOR_MID_Q[q])
        for band in range(3):
            curve = MonotoneCubic([0, 1, 12], [at0[band], at0[band], at12[band]])
            for j in GAINS_DB:
                if table[j][m] is None:
                    table[j][m] = [0.0, 0.0, 0.0]
                table[j][m][band] = curve(j)
        table[0][m] = list(at0)
        table[1][m] = list(at0)
        table[12][m] = list(at12)
    return table


def literal(v):
    assert 0.0 <= v <= 1.0
    return "%.5ff" % v


def check_invariants(low, high, mid):
    for table in (low, high):
        for row in table:
            assert literal(row[0][1]) == "0.50000f" and literal(row[0][4]) == "0.50000f"
    assert [[literal(v) for v in e] for e in mid[0]] == [[literal(v) for v in e] for e in mid[1]]


def emit(out, low, high, mid):
    w = out.write
    w("// Generated by tools/tables/generate_response_tables.py; do not edit by hand.\n")
    w("// Regenerate from the repository root with\n")
    w("//     /usr/bin/python3 tools/tables/generate_response_tables.py --output src/dsp/ResponseTables.cpp\n")
    w("// The hand-voiced anchor rows are kept exactly; all other entries are a monotone\n")
    w("// piecewise-cubic (PCHIP) interpolation of them in dB and in log knob frequency,\n")
    w("// rounded to five decimals. All entries are normalised to 0..1.\n\n")
    w('#include "ResponseTables.h"\n\n')

    w("const int highFreqBreakpoints[11] = { %s };\n\n" % ", ".join(str(f) for f in HIGH_FREQ_BREAKPOINTS))
    w("const float midQBreakpoints[11] = { %s };\n\n" % ", ".join(q + "f" for q in MID_Q_BREAKPOINTS))

    def band(name, table, freqs, anchors, header):
        w("// %s\n" % header)
        w("const float %s[%d][6] =\n{\n" % (name, len(freqs) * 13))
        for k, f in enumerate(freqs):
            for j in GAINS_DB:
                mark = ", anchor" if (f, j) in anchors else ""
                w("    { %s },  // %d: %d Hz, %d dB%s\n"
                  % (", ".join(literal(v) for v in table[k][j]), 13 * k + j, f, j, mark))
        w("};\n\n")

    band("lowBandTable", low, LOW_FREQS_HZ, ANCHOR_LOW,
         "Row 13*k + j: knob 30*(k+1) Hz, j dB. Fields: shelf freq, shelf gain, shelf Q, bell freq, bell gain, bell Q.")
    band("highBandTable", high, HIGH_FREQ_BREAKPOINTS, ANCHOR_HIGH,
         "Row 13*k + j: knob highFreqBreakpoints[k] Hz, j dB. Fields: bell freq, bell gain, bell width, shelf freq, shelf gain, shelf Q.")

    w("// Row 11*j + m: j dB, Q knob midQBreakpoints[m]. Fields: low-mid, mid, high-mid.\n")
    w("const float midQTable[143][3] =\n{\n")
    for j in GAINS_DB:
        for m, q in enumerate(MID_Q_BREAKPOINTS):
            mark = ", anchor" if j in (0, 12) else (", same as 0 dB" if j == 1 else "")
            w("    { %s },  // %d: %d dB, Q %s%s\n"
              % (", ".join(literal(v) for v in mid[j][m]), 11 * j + m, j, q, mark))
    w("};\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", help="file to write (default: standard output)")
    args = parser.parse_args()

    low = fill_band_table(ANCHOR_LOW, LOW_FREQS_HZ, 6)
    high = fill_band_table(ANCHOR_HIGH, HIGH_FREQ_BREAKPOINTS, 6)
    mid = fill_mid_q_table()
    check_invariants(low, high, mid)

    if args.output:
        with open(args.output, "w", newline="\n") as out:
            emit(out, low, high, mid)
    else:
        emit(sys.stdout, low, high, mid)


if __name__ == "__main__":
    main()
