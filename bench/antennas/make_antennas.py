#!/usr/bin/env python3
"""Writes the benchmark antennas: each as a QUILLWORK project (.qlk) and as
NEC decks for nec2c with the same wires (one frequency, the far field over
quillwork-cli farfield's grid, and a 101-point sweep).

Our wire of n segments has n - 1 pulses plus one per joined end; NEC's
unknowns are its segments, so a free wire gets n - 1 NEC segments and the
two programs solve for about the same number of unknowns. Lengths in
metres; the project cards take diameters, NEC's GW radii.

Run it from this folder to rewrite the files."""
import math

FREQ = 144.0
SWEEP = (140.0, 0.1, 101)


def fmt(v):
    return f"{v:.5f}".rstrip("0").rstrip(".") if v != 0 else "0"


class Antenna:
    def __init__(self, name, title):
        self.name, self.title = name, title
        self.wires = []   # (ours segments, nec segments, end1, end2, radius)
        self.ground = "free"   # free, real
        self.height = 0.0
        self.sources = []  # (our pulse, nec tag, nec segment)

    def wire(self, seg, nec_seg, p1, p2, radius):
        self.wires.append((seg, nec_seg, p1, p2, radius))

    def qlk(self):
        out = [f"CM {self.title}", "CM (QUILLWORK benchmark antenna, bench/antennas/make_antennas.py)", "CE"]
        if self.ground == "free":
            out.append("FREE")
        else:
            out += ["GND", "OVER GROUND 13 5", f"HEIGHT {fmt(self.height)}", "BOUNDARY CIRCULAR"]
        out += ["UNITS Meters", f"F {fmt(FREQ)}"]
        for n, (seg, _, a, b, r) in enumerate(self.wires, 1):
            out.append(f"GW {n} {seg} " + " ".join(fmt(c) for c in (*a, *b)) + f" {fmt(2 * r)}")
        for n, (pulse, _, _) in enumerate(self.sources, 1):
            out.append(f"S {n} {pulse} 1 0")
        out.append("COAX 50")
        return "\r\n".join(out) + "\r\n"

    def nec(self, tail, note):
        out = [f"CM {self.title}", f"CM {note}", "CE"]
        for n, (_, seg, a, b, r) in enumerate(self.wires, 1):
            z = lambda p: (p[0], p[1], p[2] + self.height)
            out.append(f"GW {n} {seg} " + " ".join(fmt(c) for c in (*z(a), *z(b))) + f" {fmt(r)}")
        out.append("GE 0" if self.ground == "free" else "GE 1")
        if self.ground == "real":
            out.append("GN 2 0 0 0 13 0.005")
        for _, tag, seg in self.sources:
            out.append(f"EX 0 {tag} {seg} 0 1 0")
        out += tail + ["EN"]
        return "\n".join(out) + "\n"

    def write(self):
        with open(f"{self.name}.qlk", "w", newline="") as f:
            f.write(self.qlk())
        one = [f"FR 0 1 0 0 {fmt(FREQ)} 0", "XQ"]
        # The grid of quillwork-cli farfield: zenith -90..90 and azimuth
        # 0..360 by 2 degrees.
        rp = [f"FR 0 1 0 0 {fmt(FREQ)} 0", "RP 0 91 181 1000 -90 0 2 2"]
        sweep = [f"FR 0 {SWEEP[2]} 0 0 {fmt(SWEEP[0])} {fmt(SWEEP[1])}", "XQ"]
        with open(f"{self.name}.nec", "w") as f:
            f.write(self.nec(one, f"{fmt(FREQ)} MHz"))
        with open(f"{self.name}_rp.nec", "w") as f:
            f.write(self.nec(rp, "the far field over the grid of quillwork-cli farfield"))
        with open(f"{self.name}_sweep.nec", "w") as f:
            f.write(self.nec(sweep, "140 to 150 MHz by 0.1"))


def yagi():
    # Six unequal elements on a boom along x, unequal spacings, free space.
    a = Antenna("yagi6", "Yagi-like array of six unequal elements, 144 MHz, free space")
    lengths = [1.030, 0.985, 0.930, 0.918, 0.905, 0.893]
    xs = [0.0, 0.31, 0.55, 0.93, 1.39, 1.92]
    for length, x in zip(lengths, xs):
        a.wire(51, 50, (x, -length / 2, 0), (x, length / 2, 0), 0.002)
    a.sources.append((50 + 25, 2, 25))
    return a


def log_periodic():
    # Ten elements scaled by tau = 0.92, spacing 2 sigma L with sigma = 0.07,
    # fed at the shortest element; free space.
    a = Antenna("logperiodic10", "Log-periodic-like array of ten elements, 144 MHz, free space")
    tau, sigma, length, x = 0.92, 0.07, 1.45, 0.0
    for n in range(10):
        a.wire(31, 30, (x, -length / 2, 0), (x, length / 2, 0), 0.003 * tau ** n + 0.001)
        x += 2 * sigma * length
        length *= tau
    a.sources.append((9 * 30 + 15, 10, 15))
    return a


def ground_plane():
    # A vertical whose base is 3 m up, eight radials drooping 40 degrees
    # from it, over average real ground.
    a = Antenna("groundplane8", "Ground plane with eight drooping radials, 3 m over real ground, 144 MHz")
    a.ground, a.height = "real", 3.0
    a.wire(37, 36, (0, 0, 0), (0, 0, 0.5), 0.003)
    droop, rl = math.radians(40), 0.53
    for n in range(8):
        az = math.radians(45 * n + 10)
        end = (rl * math.cos(droop) * math.cos(az), rl * math.cos(droop) * math.sin(az), -rl * math.sin(droop))
        a.wire(33, 33, (0, 0, 0), end, 0.002)
    # Our first pulse of the vertical, one segment above the base; NEC's
    # segment 2 of the vertical.
    a.sources.append((1, 1, 2))
    return a


def sloping_quad():
    # Three square loops (reflector, driven element, director) in planes
    # leaning 20 degrees back from the vertical, 4 m over real ground.
    a = Antenna("quad3", "Sloping three-element quad, loops leaning 20 degrees, 4 m over real ground, 144 MHz")
    a.ground, a.height = "real", 4.0
    tilt = math.radians(20)
    for x0, side in ((0.0, 0.55), (0.45, 0.525), (0.85, 0.50)):
        def p(u, v):
            return (x0 + v * math.sin(tilt), u, v * math.cos(tilt))
        corners = [p(side / 2, 0), p(-side / 2, 0), p(-side / 2, side), p(side / 2, side)]
        for c in range(4):
            a.wire(25, 25, corners[c], corners[(c + 1) % 4], 0.0015)
    # The driven loop's bottom wire, near its middle (our 12th pulse of the
    # wire, NEC's 13th segment).
    a.sources.append((100 + 12, 5, 13))
    return a


if __name__ == "__main__":
    for make in (yagi, log_periodic, ground_plane, sloping_quad):
        make().write()
