#!/usr/bin/env python3
"""Writes the golden test's inputs into tests/golden/cases/: antennas of the
kinds users build, their dimensions drawn from a fixed seed, and the list
cases.list that tells tests/golden/runs.bash how to run each one.

The files it writes are committed; the test never runs this script. Run it
again only to change the cases, then record the expected outputs anew
(tests/golden/record.sh).

cases.list, one case a line:
  NAME FILE [KEY=VALUE...] [-- OPTION...]
  FILE              a file of the cases folder, or examples/NAME for a bundled example
  sweep=F1,F2,DF    the band of the sweep (required)
  resonance=F1,F2,DF  the band of the resonance scan (required)
  near=X,Y,Z:DX,DY,DZ:NX,NY,NZ  the near-field grid (required)
  settings=FILE     a settings file of the cases folder (default: an empty one)
  cut=ELEV          also draw the azimuth cut at ELEV degrees with the pattern command
  grid=default      also compute the far field over the default grid
  OPTION...         options given to every computing command of the case
"""

import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, "cases")
SEED = 20240611
C = 299.8  # the wavelength in metres is C / MHz, as the program takes it

rnd = random.Random(SEED)


def num(v, places=3):
    text = f"{v:.{places}f}"
    return "0." + "0" * places if text == "-0." + "0" * places else text


class Project:
    """A project file: cards, wires, sources and loads; numbers its pulses as
    the solver does (a wire end joined to an earlier wire or standing on the
    ground carries a pulse of the later wire)."""

    def __init__(self, comment, freq, units="Meters", places=3):
        self.comment = comment
        self.freq = freq
        self.units = units
        self.places = places
        self.env = []  # ground, height and boundary cards, in order
        self.height = 0.0
        self.over_ground = False
        self.wires = []  # (segments, end1, end2, diameter)
        self.sources = []  # (pulse, magnitude, phase, kind)
        self.loads = []  # (keyword, pulse, values...)
        self.loop_cards = []  # square-loop cards, written after the wire cards
        self.coax = 50

    def ground(self, card, height, radials=None):
        self.over_ground = True
        self.height = height
        self.env = ["GND Reference", f"Height  {num(height)}", card]
        if radials:
            self.env.append(f"Radials  {radials[0]}  {num(radials[1], 2)}")
        self.env.append("Boundary Circular")

    def free(self):
        self.over_ground = False
        self.env = ["Free Space"]

    def wire(self, segments, a, b, diameter):
        p = self.places
        a = tuple(float(num(c, p)) for c in a)
        b = tuple(float(num(c, p)) for c in b)
        self.wires.append((segments, a, b, diameter))
        return len(self.wires)

    def _scale(self):
        # Lengths of the file in metres, to tell whether an end is on the ground.
        return {"Meters": 1.0, "Feet": 0.3048006, "Inches": 1 / 39.37008, "CM": 0.01, "MM": 0.001}.get(
            self.units, C / self.freq)

    def on_ground(self, end):
        return self.over_ground and abs((end[2] + self.height) * self._scale()) <= 1e-5

    def pulse_table(self):
        """The first pulse of each wire, whether each end carries a pulse, and
        the wire's pulse count. A wire takes the ground at its first end, else
        at its second; an end not on the ground joins any end of an earlier
        wire."""
        table, n = [], 0
        for w, (segments, a, b, _) in enumerate(self.wires):
            def touches(end):
                return any(end in (o[1], o[2]) for o in self.wires[:w])
            g1 = self.on_ground(a)
            g2 = self.on_ground(b) and not g1
            j1 = g1 or touches(a)
            j2 = g2 or touches(b)
            count = segments + 1 - (not j1) - (not j2)
            table.append((n + 1, j1, j2, count))
            n += count
        return table, n

    def pulse(self, wire, k):
        """The pulse at segment boundary k (0 the wire's first end) of a wire."""
        first, j1, j2, count = self.pulse_table()[0][wire - 1]
        index = k - (0 if j1 else 1)
        assert 0 <= index < count, (wire, k)
        return first + index

    def pulses(self):
        return self.pulse_table()[1]

    def source(self, pulse, magnitude=1, phase=0, kind=""):
        self.sources.append((pulse, magnitude, phase, kind))

    def load(self, keyword, pulse, *values):
        self.loads.append((keyword, pulse) + values)

    def text(self):
        lines = ["CM", "CM  QUILLWORK File", f"CM  {self.comment}", "CE", f"UNITS {self.units}"]
        lines += self.env
        lines.append(f"F  {self.freq:.3f}")
        for i, (segments, a, b, d) in enumerate(self.wires, 1):
            coords = "".join(f"{num(c, self.places):>9}" for c in a + b)
            lines.append(f"GW {i:>2}  {segments:>3} {coords}  {num(d, self.places)}")
        lines += self.loop_cards
        for i, (pulse, m, ph, kind) in enumerate(self.sources, 1):
            lines.append(f"S   {i} {pulse}    {m:g}    {ph:g}   {kind}".rstrip())
        for i, (kw, pulse, *values) in enumerate(self.loads, 1):
            lines.append(f"{kw:<4} {i} {pulse} " + " ".join(f"{v:g}" for v in values))
        lines.append(f"Coax  {self.coax}")
        return "\r\n".join(lines) + "\r\n"


# --- the ground a case stands on -------------------------------------------

REAL_GROUNDS = ["Over Excellent Ground", "Over Good Ground", "Over Average Ground", "Over Poor Ground",
                "Over Bad Ground"]


def some_ground():
    pick = rnd.randrange(7)
    if pick < 5:
        return REAL_GROUNDS[pick]
    if pick == 5:
        return "OVER PERFECT"
    return f"OVER GROUND {rnd.randint(3, 30)} {rnd.choice([0.5, 1, 2, 5, 10, 30])}"


def wl(freq):
    return C / freq


def even(n):
    return n + (n % 2)


# --- the families ------------------------------------------------------------

def yagi(freq, elements, units="Meters", free=False, segments=(8, 14)):
    lam = wl(freq)
    scale = {"Meters": 1, "Feet": 1 / 0.3048006, "CM": 100}[units]
    p = Project(f"{elements}-element Yagi for {freq:g} MHz, elements of unequal length", freq, units)
    x = 0.0
    lengths = [rnd.uniform(0.49, 0.52)] + [rnd.uniform(0.46, 0.48)] + \
              [rnd.uniform(0.42, 0.455) for _ in range(elements - 2)]
    diameter = rnd.choice([0.006, 0.01, 0.012, 0.02]) * (lam / 21.1) ** 0.5
    for i, length in enumerate(lengths):
        half = length * lam / 2 * scale
        count = even(rnd.randint(*segments))
        if i:
            x += rnd.uniform(0.12, 0.25) * lam * scale
        p.wire(count, (x, -half, 0), (x, half, 0), diameter * scale)
    driven = p.wires[1][0]
    p.source(p.pulse(2, driven // 2))
    if free:
        p.free()
    else:
        p.ground(some_ground(), round(rnd.uniform(0.5, 1.2) * lam * scale, 1))
    return p


def phased_verticals(freq):
    lam = wl(freq)
    p = Project("two quarter-wave verticals a quarter wave apart, fed 90 degrees apart", freq)
    h = 0.24 * lam
    p.ground("OVER PERFECT", 0)
    p.wire(8, (0, 0, 0), (0, 0, h), 0.02)
    p.wire(8, (lam / 4, 0, 0), (lam / 4, 0, h), 0.02)
    p.source(p.pulse(1, 0), 1, 0)
    p.source(p.pulse(2, 0), 1, -90)
    return p


def broadside(freq):
    lam = wl(freq)
    p = Project("three stacked dipoles fed in phase, free space", freq)
    p.free()
    for i in range(3):
        half = rnd.uniform(0.47, 0.49) * lam / 2
        z = i * rnd.uniform(0.45, 0.6) * lam
        w = p.wire(20, (0, -half, z), (0, half, z), 0.004)
        p.source(p.pulse(w, 10), 1, 0)
    return p


def collinear(freq):
    lam = wl(freq)
    p = Project("four half waves in line, each fed, the phases drawn", freq)
    p.ground(some_ground(), round(rnd.uniform(0.7, 1.5) * lam, 1))
    y = 0.0
    for i in range(4):
        length = rnd.uniform(0.46, 0.5) * lam
        w = p.wire(12, (0, y, 0), (0, y + length, 0), 0.003)
        p.source(p.pulse(w, 6), rnd.choice([1, 1, 0.5]), rnd.choice([0, 0, 45, 180]))
        y += length + 0.05 * lam
    return p


def inverted_vee(freq):
    lam = wl(freq)
    p = Project("inverted V: two sloping legs joined at the apex, fed at the apex", freq)
    leg = 0.25 * lam * rnd.uniform(0.95, 1.0)
    droop = math.radians(rnd.uniform(25, 45))
    dy, dz = leg * math.cos(droop), leg * math.sin(droop)
    apex = round(dz + rnd.uniform(3, 8), 1)
    p.ground(some_ground(), apex)
    p.wire(12, (0, -dy, -dz), (0, 0, 0), 0.002)
    p.wire(12, (0, 0, 0), (0, dy, -dz), 0.002)
    p.source(p.pulse(2, 0))  # the apex pulse belongs to the second leg
    return p


def sloper(freq):
    lam = wl(freq)
    p = Project("half-wave sloper fed at its centre", freq)
    length = 0.48 * lam
    angle = math.radians(rnd.uniform(30, 60))
    p.ground(some_ground(), round(rnd.uniform(2, 4), 1))
    p.wire(16, (0, 0, 0), (length * math.cos(angle), 0, length * math.sin(angle)), 0.003)
    p.source(p.pulse(1, 8))
    return p


def bent_dipole(freq):
    lam = wl(freq)
    p = Project("dipole with drooping ends: three wires joined end to end", freq)
    flat = rnd.uniform(0.3, 0.36) * lam / 2
    drop = (0.48 * lam / 2 - flat) * 1.1
    p.ground(some_ground(), round(rnd.uniform(6, 12), 1))
    p.wire(4, (0, -flat, -drop), (0, -flat, 0), 0.002)
    p.wire(12, (0, -flat, 0), (0, flat, 0), 0.002)
    p.wire(4, (0, flat, 0), (0, flat, -drop), 0.002)
    p.source(p.pulse(2, 6))
    return p


def zigzag(freq):
    lam = wl(freq)
    p = Project("four wires joined end to end in random directions, fed in the second", freq)
    p.free()
    point = (0.0, 0.0, 0.0)
    for i in range(4):
        length = rnd.uniform(0.1, 0.2) * lam
        theta = rnd.uniform(0, math.pi)
        phi = rnd.uniform(0, 2 * math.pi)
        end = (point[0] + length * math.sin(theta) * math.cos(phi),
               point[1] + length * math.sin(theta) * math.sin(phi),
               point[2] + length * math.cos(theta))
        p.wire(6, point, end, 0.002)
        point = tuple(float(num(c)) for c in end)
    p.source(p.pulse(2, 3))
    return p


def quad_card(freq, elements):
    lam = wl(freq)
    p = Project(f"{elements}-element quad of square-loop cards, the driven loop first", freq)
    x = 0.0
    side = 0.25 * lam * 1.02
    segments = rnd.choice([6, 8])
    for i in range(elements):
        s = side * (1.0 if i == 0 else 1.05)
        p.loop_cards.append(f"Q {i + 1} {segments} {num(x)} {num(s)} 0.002")
        x -= rnd.uniform(0.12, 0.2) * lam
    p.ground(some_ground(), round(rnd.uniform(8, 16), 1))
    # A Q card's first wire is the bottom side, its ends still free: pulse
    # SEGMENTS / 2 is the middle of the bottom of the first loop.
    p.source(segments // 2)
    return p


def square_loop(freq):
    lam = wl(freq)
    p = Project("horizontal square loop of four wires, fed at the middle of a side", freq)
    h = 0.25 * lam * 1.02 / 2
    p.ground(some_ground(), round(rnd.uniform(7, 14), 1))
    corners = [(-h, -h, 0), (h, -h, 0), (h, h, 0), (-h, h, 0)]
    for i in range(4):
        p.wire(8, corners[i], corners[(i + 1) % 4], 0.002)
    p.source(p.pulse(1, 4))
    return p


def delta(freq, apex_up):
    lam = wl(freq)
    side = lam * 1.05 / 3
    hgt = side * math.sqrt(3) / 2
    p = Project("delta loop, apex " + ("up, fed at the middle of the base" if apex_up else
                                      "down, fed at the apex"), freq)
    p.ground(some_ground(), round(rnd.uniform(4, 8), 1))
    if apex_up:
        a, b, c = (0, -side / 2, 0), (0, side / 2, 0), (0, 0, hgt)
        p.wire(10, a, b, 0.003)
        p.wire(10, b, c, 0.003)
        p.wire(10, c, a, 0.003)
        p.source(p.pulse(1, 5))
    else:
        a, b, c = (0, 0, 0), (0, side / 2, hgt), (0, -side / 2, hgt)
        p.wire(10, a, b, 0.003)
        p.wire(10, b, c, 0.003)
        p.wire(10, c, a, 0.003)
        p.source(p.pulse(3, 10))  # the apex joins the end of wire 3 to the start of wire 1
    return p


def vertical_radials(freq, card, radials, perfect=False):
    lam = wl(freq)
    p = Project("ground-mounted quarter-wave vertical" + ("" if perfect else f", {radials[0]} radials"), freq)
    h = 0.245 * lam
    p.ground(card, 0, None if perfect else radials)
    p.wire(rnd.choice([8, 10, 12]), (0, 0, 0), (0, 0, h), rnd.choice([0.004, 0.025, 0.05]))
    p.source(p.pulse(1, 0))
    return p


def elevated_ground_plane(freq):
    lam = wl(freq)
    p = Project("elevated ground plane: a vertical and four sloping radials", freq)
    h = 0.25 * lam
    p.ground("Over Good Ground", round(rnd.uniform(3, 8), 1))
    p.wire(12, (0, 0, 0), (0, 0, h), 0.004)
    slope = math.radians(rnd.uniform(20, 45))
    r = 0.26 * lam
    for k in range(4):
        az = math.radians(45 + 90 * k)
        p.wire(12, (0, 0, 0), (r * math.cos(slope) * math.cos(az), r * math.cos(slope) * math.sin(az),
                              -r * math.sin(slope)), 0.002)
    p.source(p.pulse(1, 1))
    return p


def dipole(comment, freq, segments=20, length=0.48, units="Meters", places=3, scale=1.0, height=None):
    lam = wl(freq)
    p = Project(comment, freq, units, places)
    half = length * lam / 2 * scale
    p.wire(segments, (0, -half, 0), (0, half, 0), 0.002 * scale)
    if height is None:
        p.free()
    else:
        p.ground(some_ground(), height * scale)
    return p


def series_parallel_rx(freq):
    p = dipole("dipole with a series R+jX and a parallel R||jX load", freq, 20, height=round(rnd.uniform(8, 12), 1))
    p.source(p.pulse(1, 10))
    p.load("L", p.pulse(1, 10), rnd.randint(5, 40), -rnd.randint(20, 120))
    p.load("LX", p.pulse(1, 4), 2000, rnd.randint(200, 900))
    return p


def trap_dipole():
    freq = 7.1
    p = Project("40/20 m trap dipole: parallel LC traps resonant near 14.1 MHz", freq)
    p.ground(some_ground(), round(rnd.uniform(9, 14), 1))
    inner, outer = 5.0, 3.2
    p.wire(20, (0, -inner - outer, 0), (0, -inner, 0), 0.002)
    p.wire(40, (0, -inner, 0), (0, inner, 0), 0.002)
    p.wire(20, (0, inner, 0), (0, inner + outer, 0), 0.002)
    p.source(p.pulse(2, 20))
    # LP R L(uH) C(pF): 4.7 uH with 27.1 pF resonates at 14.1 MHz.
    p.load("LP", p.pulse(2, 0), 20000, 4.7, 27.1)
    p.load("LP", p.pulse(3, 0), 20000, 4.7, 27.1)
    return p


def rlc_dipole(freq):
    p = dipole("dipole with series RLC, inductance and capacitance loads", freq, 24,
               length=0.4, height=round(rnd.uniform(6, 10), 1))
    p.source(p.pulse(1, 12))
    p.load("LS", p.pulse(1, 6), 3, round(rnd.uniform(1, 4), 2), 0)
    p.load("LS", p.pulse(1, 18), 3, round(rnd.uniform(1, 4), 2), 0)
    p.load("LC", p.pulse(1, 12), 0, rnd.choice([100, 220, 470]))
    p.load("LS", p.pulse(1, 2), 0.5, 0.5, 150)
    return p


def loaded_whip(freq):
    lam = wl(freq)
    p = Project("short whip over perfect ground with a base coil and a top capacitance", freq)
    h = round(rnd.uniform(0.08, 0.12) * lam, 2)
    p.ground("OVER PERFECT", 0)
    p.wire(10, (0, 0, 0), (0, 0, h), 0.01)
    p.source(p.pulse(1, 0))
    p.load("LI", p.pulse(1, 2), 2, round(rnd.uniform(1.5, 4.0) * 300 / freq / 10, 1))
    p.load("LC", p.pulse(1, 8), 0, 1000)
    return p


def current_source_dipole(freq):
    p = dipole("dipole driven by a current source off centre", freq, 16, height=round(rnd.uniform(5, 10), 1))
    p.source(p.pulse(1, 6), 0.01, 30, "I")
    return p


def mixed_sources(freq):
    lam = wl(freq)
    p = Project("two elements, one voltage-fed, one current-fed, 135 degrees apart", freq)
    p.ground(some_ground(), round(rnd.uniform(10, 15), 1))
    half = 0.24 * lam
    p.wire(12, (0, -half, 0), (0, half, 0), 0.004)
    p.wire(12, (0.15 * lam, -half * 0.98, 0), (0.15 * lam, half * 0.98, 0), 0.004)
    p.source(p.pulse(1, 6), 1, 0)
    p.source(p.pulse(2, 6), 0.02, 135, "I")
    p.load("L", p.pulse(2, 3), 10, 0)
    return p


def units_dipole(freq, units, scale, places):
    p = dipole(f"half-wave dipole drawn in {units}", freq, 14, 0.47, units, places, scale,
               height=round(rnd.uniform(0.5, 1.0) * wl(freq), 2))
    p.source(p.pulse(1, 7))
    return p


def mm_loop(freq):
    lam_mm = wl(freq) * 1000
    p = Project("small square loop in millimetres, fed at a corner", freq, "MM", 1)
    s = lam_mm / 4 * 1.02 / 2
    p.free()
    corners = [(0, -s, -s), (0, s, -s), (0, s, s), (0, -s, s)]
    for i in range(4):
        p.wire(6, corners[i], corners[(i + 1) % 4], 3.0)
    p.source(p.pulse(2, 0))
    return p


def wavelength_dipole(freq):
    p = Project("collinear pair drawn in wavelengths, free space", freq, "WLength", 4)
    p.free()
    p.wire(10, (0, -0.5, 0), (0, -0.02, 0), 0.0002)
    p.wire(10, (0, 0.02, 0), (0, 0.5, 0), 0.0002)
    p.source(p.pulse(1, 5))
    p.source(p.pulse(2, 5), 1, 0)
    return p


# --- writing -----------------------------------------------------------------

entries = []


def write(name, text):
    with open(os.path.join(CASES, name), "wb") as f:
        f.write(text.encode("cp1252"))


def band(freq, step_fraction, points):
    step = float(f"{freq * step_fraction:.2g}")
    lo = round(freq - (points // 2) * step, 4)
    hi = round(lo + (points - 1) * step, 4)
    return f"{lo:g},{hi:g},{step:g}"


def grid(freq, centre):
    d = round(wl(freq) / 10, 2)
    start = ",".join(f"{round(c - d, 2):g}" for c in centre[:2]) + f",{round(centre[2], 2):g}"
    return start, f"{d:g},{d:g},{d:g}", "3,3,1"


def entry(name, file, freq, centre=(0, 0, 10), settings=None, cut=None, full_grid=False, options=""):
    start, step, count = grid(freq, centre)
    fields = [name, file, "sweep=" + band(freq, 0.01, 7), "resonance=" + band(freq, 0.02, 11),
              f"near={start}:{step}:{count}"]
    if settings:
        fields.append("settings=" + settings)
    if cut:
        fields.append("cut=" + cut)
    if full_grid:
        fields.append("grid=default")
    if options:
        fields += ["--", options]
    entries.append(" ".join(fields))


def case(name, p, centre_z=None, **kw):
    text = p.text()
    assert p.pulses() < 300 or name.startswith("fail_")
    write(name + ".qlk", text)
    height = p.height * p._scale()
    entry(name, name + ".qlk", p.freq, (0, 0, centre_z if centre_z is not None else height + 0.5), **kw)


def main():
    os.makedirs(CASES, exist_ok=True)
    for f in os.listdir(CASES):
        os.remove(os.path.join(CASES, f))

    # The bundled examples, read where they are.
    entry("example_dipole", "examples/dipole.qlk", 14.2, (0, 0, 10), cut="30", full_grid=True)
    entry("example_loaded", "examples/loaded.qlk", 7.1, (0, 0, 12), cut="30", full_grid=True)
    entry("example_loop", "examples/loop.qlk", 14.2, (0, 0, 12), cut="20", full_grid=True)
    entry("example_vertical", "examples/vertical.qlk", 14.2, (0, 0, 1), cut="10", full_grid=True, options="--yes")
    entry("example_yagi3", "examples/yagi3.qlk", 14.2, (0, 0, 15), cut="20", full_grid=True)

    case("yagi2_20m", yagi(14.15, 2))
    case("yagi3_15m", yagi(21.2, 3))
    case("yagi4_10m_free", yagi(28.5, 4, free=True), centre_z=0.5)
    case("yagi5_6m", yagi(50.15, 5))
    case("yagi6_2m_cm", yagi(144.3, 6, units="CM", free=True), centre_z=0.2)
    case("yagi12_70cm", yagi(432.2, 12, free=True, segments=(14, 18)), centre_z=0.1)
    case("yagi3_40m_feet", yagi(7.1, 3, units="Feet"))
    case("phased_verticals", phased_verticals(7.05), centre_z=1, options="--yes")
    case("broadside3", broadside(28.4), centre_z=3)
    case("collinear4", collinear(50.2))
    case("inverted_vee", inverted_vee(3.65))
    case("sloper", sloper(10.12))
    case("bent_dipole", bent_dipole(18.1))
    case("zigzag", zigzag(24.94), centre_z=1)
    case("quad1", quad_card(14.25, 1))
    case("quad2", quad_card(21.3, 2))
    case("square_loop", square_loop(28.6))
    case("delta_up", delta(14.1, True))
    case("delta_down", delta(21.1, False))
    case("vertical_radials_avg", vertical_radials(7.15, "Over Average Ground", (32, 10.4)),
         centre_z=1, options="--yes")
    case("vertical_radials_poor", vertical_radials(3.7, "Over Poor Ground", (8, 19.5)),
         centre_z=1, options="--yes")
    case("vertical_custom_ground", vertical_radials(10.1, "OVER GROUND 7 3", (4, 7.4)),
         centre_z=1, options="--yes")
    case("vertical_perfect", vertical_radials(14.05, "OVER PERFECT", None, perfect=True),
         centre_z=1, options="--yes")
    case("ground_plane_elevated", elevated_ground_plane(28.3))
    case("dipole_L_LX", series_parallel_rx(14.2))
    case("trap_dipole_LP", trap_dipole())
    case("dipole_LS_LC", rlc_dipole(10.12))
    case("whip_LI_LC", loaded_whip(7.05), centre_z=1, options="--yes")
    case("current_source", current_source_dipole(14.3))
    case("mixed_sources", mixed_sources(18.12))
    case("dipole_feet", units_dipole(21.25, "Feet", 1 / 0.3048006, 3))
    case("dipole_inches", units_dipole(50.3, "Inches", 39.37008, 2))
    case("loop_mm", mm_loop(432.1), centre_z=0.05)
    case("collinear_wlength", wavelength_dipole(144.5), centre_z=0.3)

    # Cards written by hand: the mirror card, the W keyword, comma-separated
    # fields, a rectangular boundary and a 75-ohm feed line.
    # The same example read with settings other than the defaults.
    write("float_dbd.ini", "[DEFAULTS]\r\nFormat=Float\r\ndBi/dBd=0\r\nPlotIncrement=5\r\n")
    entry("example_yagi3_float_dbd", "examples/yagi3.qlk", 14.2, (0, 0, 15), settings="float_dbd.ini", cut="20")

    write("symmetry_cards.qlk", "\r\n".join([
        "CM  dipole given by a mirrored wire card, two parasitic elements in comma-separated fields",
        "CE", "UNITS Meters", "GND", "HEIGHT 9.5", "OVER GOOD", "BOUNDARY RECTANGULAR", "F 14.18",
        "SYMXZ", "GW 1 16 0 -5.1 0 0.003", "SYMOFF",
        "W,2,15,-2.4,-5.35,0,-2.4,5.35,0,0.003",
        "W,3,15,2.1,-4.85,0,2.1,4.85,0,0.003",
        "S 1 8 1 0", "COAX 75", ""]))
    entry("symmetry_cards", "symmetry_cards.qlk", 14.18, (0, 0, 10))

    # NEC decks: the wire cards give the radius; sources, frequency and ground
    # are not read from a deck, so they come from the options. The GS card is
    # not read either, which the reader reports.
    write("nec_yagi.nec", "\r\n".join([
        "CM 3-element Yagi for 10 m as a NEC deck", "CE",
        "GW 1 11 -1.8 -2.66 12 -1.8 2.66 12 0.006",
        "GW 2 10 0 -2.54 12 0 2.54 12 0.006",
        "GW 3 11 1.5 -2.4 12 1.5 2.4 12 0.006",
        "GE 0", "EX 0 2 5 0 1 0", "FR 0 1 0 0 28.4 0", "RP 0 19 37 1000 0 0 5 10", "EN", ""]))
    entry("nec_yagi", "nec_yagi.nec", 28.4, (0, 0, 12.5), options="--frequency 28.4 --source 15 --ground free")
    entry("nec_yagi_no_ground", "nec_yagi.nec", 28.4, (0, 0, 12.5), options="--frequency 28.4 --source 15")
    write("nec_vertical_gs.nec", "\r\n".join([
        "CM quarter-wave vertical in feet scaled by a GS card", "CE",
        "GW 1 8 0 0 0 0 0 17.4 0.05", "GS 0 0 0.3048", "GE 1", "EX 0 1 1 0 1 0", "FR 0 1 0 0 14.1 0", "EN", ""]))
    entry("nec_vertical_gs", "nec_vertical_gs.nec", 14.1, (0, 0, 1),
          options="--frequency 14.1 --source 1 --ground perfect --yes")

    # The same projects read with settings other than the defaults.
    write("nec2_mode.ini", "[DEFAULTS]\r\nNec Mode=2\r\nFrequency offset factor=1.2\r\n")
    entry("yagi3_15m_float_dbd", "yagi3_15m.qlk", 21.2, (0, 0, 10), settings="float_dbd.ini")
    entry("dipole_L_LX_nec2", "dipole_L_LX.qlk", 14.2, (0, 0, 10), settings="nec2_mode.ini")

    # Projects that stop with a message, or go on after one.
    fail = dipole("horizontal dipole at height 0 over ground", 14.2, 10, height=0)
    fail.source(fail.pulse(1, 5))
    case("fail_zero_height", fail, centre_z=0.5)
    nosrc = dipole("dipole without a source", 14.2, 10, height=10)
    case("fail_no_source", nosrc)
    big = Project("six long wires, more pulses than the solver takes", 3.6)
    big.free()
    for i in range(6):
        big.wire(55, (i * 2.0, -20, 0), (i * 2.0, 20, 0), 0.002)
    big.source(big.pulse(1, 27))
    case("fail_pulse_limit", big, centre_z=0.5)
    zero = dipole("a wire of length 0 after the dipole", 14.2, 10)
    zero.wire(5, (1, 1, 0), (1, 1, 0), 0.002)
    zero.source(5)
    case("fail_zero_length", zero, centre_z=0.5)
    write("fail_no_frequency.qlk", "CM no frequency card\r\nCE\r\nFREE\r\nGW 1 9 0 -2.5 0 0 2.5 0 0.001\r\n"
                                   "S 1 5 1 0\r\n")
    entry("fail_no_frequency", "fail_no_frequency.qlk", 28.0, (0, 0, 0.5))
    lp = dipole("a parallel R-L-C load with neither inductance nor capacitance", 14.2, 10)
    lp.source(lp.pulse(1, 5))
    lp.load("LP", lp.pulse(1, 3), 100, 0, 0)
    case("fail_empty_trap", lp, centre_z=0.5)
    write("parse_overflow.qlk", "CM the second wire card holds a number too large; the first is computed\r\n"
                                "CE\r\nFREE\r\nF 28.1\r\nGW 1 9 0 -2.5 0 0 2.5 0 0.002\r\n"
                                "GW 2 9 1 -2.5 0 1 2.5 1e99 0.002\r\nS 1 5 1 0\r\n")
    entry("parse_overflow", "parse_overflow.qlk", 28.1, (0, 0, 0.5))

    with open(os.path.join(CASES, "cases.list"), "w", newline="\n") as f:
        f.write("# Written by tests/golden/make_cases.py: see there for the fields.\n")
        f.write("\n".join(entries) + "\n")


if __name__ == "__main__":
    main()
