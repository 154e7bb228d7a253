"""Panel geometry, read from src/editor/PanelLayout.h.

The editor places its controls from that header; the artwork reads the same
lines so that wells, scales and bezels sit exactly under the controls.
"""

import os
import re
from dataclasses import dataclass

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LAYOUT_HEADER = os.path.join(REPO, "src", "editor", "PanelLayout.h")

# Where a knob's axis lies inside its frame: horizontally centred, this far
# below the frame's top edge. Shared by the knob strips and the panel wells.
AXIS_Y = 32.0
FRAMES = 99

# The printed scale around every knob (panel pixels from the knob's axis).
WELL_RADIUS = 33.0        # the dark well the knob sits in
SCALE_RADIUS = 37.5       # centres of the scale dots
SCALE_DOTS = 11           # dots over the 270 degrees of travel
END_DOT_RADIUS = 1.45
DOT_RADIUS = 1.0
LABEL_SIZE = 7.5          # em size of the scale end values
# End values sit centred just under the end dots, above the value box.
LABEL_CENTRE_DX = 26.5    # |dx| of an end label's centre
LABEL_CENTRE_DY = 31.5    # dy of an end label's vertical centre
LABEL_HALF_HEIGHT = 3.0

# Scale end values printed beside each knob, by parameter name.
SCALE_ENDS = {
    "Outgain": ("-12", "+12"),
    "HighpassFreq": ("10", "200"),
    "LowFreq": ("30", "300"),
    "LowGain": ("-12", "+12"),
    "LowMidFreq": ("50", "400"),
    "LowMidQ": ("0.7", "5.0"),
    "LowMidGain": ("-12", "+12"),
    "MidGain": ("-12", "+12"),
    "MidFreq": ("330", "2.5k"),
    "MidQ": ("0.7", "5.0"),
    "HighMidGain": ("-12", "+12"),
    "HighMidFreq": ("1.8k", "16k"),
    "HighMidQ": ("0.7", "5.0"),
    "HighGain": ("-12", "+12"),
    "HighFreq": ("2.5k", "25k"),
    "LowpassFreq": ("5k", "22k"),
}

# Cap colour of each strip: maroon for the input gain, blue for the five
# band-frequency knobs, grey for the rest.
CAP_BY_PARAMETER = {
    "Outgain": "maroon",
    "LowFreq": "blue",
    "LowMidFreq": "blue",
    "MidFreq": "blue",
    "HighMidFreq": "blue",
    "HighFreq": "blue",
}

# Which panel section each control belongs to, by component name.
SECTION_OF = {
    "Bypass": "left", "Outgain": "left", "Highpass": "left",
    "LFIn": "LF", "LF": "LF", "LFGain": "LF",
    "LMFIn": "LMF", "LMF": "LMF", "LMFWidth": "LMF", "LMFGain": "LMF",
    "MFIn": "MF", "MF": "MF", "MFWidth": "MF", "MFGain": "MF",
    "HMFIn": "HMF", "HMF": "HMF", "HMFWidth": "HMF", "HMFGain": "HMF",
    "HFIn": "HF", "HF": "HF", "HFGain": "HF",
    "LPHPIn": "right", "Lowpass": "right",
}
SECTION_ORDER = ["left", "LF", "LMF", "MF", "HMF", "HF", "right"]
BAND_SECTIONS = ["LF", "LMF", "MF", "HMF", "HF"]


@dataclass(frozen=True)
class Knob:
    name: str
    kind: str
    parameter: str
    number: int
    x: int
    y: int
    w: int
    h: int

    @property
    def axis(self):
        """The knob's axis in panel coordinates (continuous, pixel edges at integers)."""
        return (self.x + self.w / 2.0, self.y + AXIS_Y)

    @property
    def value_box(self):
        """(x, y, w, h) of the value box the editor draws over the knob."""
        bw, bh, top = VALUE_BOX
        return (self.x + (self.w - bw) // 2, self.y + top, bw, bh)

    @property
    def cap(self):
        return CAP_BY_PARAMETER.get(self.parameter, "grey")

    @property
    def scale_ends(self):
        return SCALE_ENDS[self.parameter]

    @property
    def section(self):
        return SECTION_OF[self.name]


@dataclass(frozen=True)
class Switch:
    name: str
    parameter: str
    x: int
    y: int
    w: int
    h: int

    @property
    def centre(self):
        """Centre of the button as the strip draws it (see switch.py)."""
        return (self.x + self.w / 2.0, self.y + SWITCH_CENTRE_Y)

    @property
    def section(self):
        return SECTION_OF[self.name]


# The button's centre row inside a 27 x 31 switch frame; both states use it.
SWITCH_CENTRE_Y = 14.5

VALUE_BOX = (50, 11, 68)  # filled in from the header by load()

_KNOB_RE = re.compile(
    r'\{\s*"(\w+)"\s*,\s*KnobKind::(\w+)\s*,\s*"(\w+)"\s*,\s*(\d+)\s*,'
    r'\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,')
_SWITCH_RE = re.compile(
    r'\{\s*"(\w+)"\s*,\s*"(\w+)"\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*\}')
_CONST_RE = re.compile(r'constexpr\s+int\s+(\w+)\s*=\s*(\d+)\s*;')


@dataclass(frozen=True)
class Layout:
    width: int
    height: int
    knobs: tuple
    switches: tuple

    def knob(self, name):
        return next(k for k in self.knobs if k.name == name)

    def switch(self, name):
        return next(s for s in self.switches if s.name == name)

    def knob_by_number(self, number):
        return next(k for k in self.knobs if k.number == number)


def load(path=LAYOUT_HEADER):
    """Parse the knob and switch tables and the panel constants from the header."""
    global VALUE_BOX
    with open(path, encoding="utf-8") as f:
        text = f.read()

    consts = {m.group(1): int(m.group(2)) for m in _CONST_RE.finditer(text)}
    VALUE_BOX = (consts["valueBoxWidth"], consts["valueBoxHeight"], consts["valueBoxTop"])

    knobs_src = text[text.index("knobs[]"):text.index("struct SwitchSpec")]
    switches_src = text[text.index("switches[]"):]

    knobs = tuple(
        Knob(m.group(1), m.group(2), m.group(3), int(m.group(4)),
             int(m.group(5)), int(m.group(6)), int(m.group(7)), int(m.group(8)))
        for m in _KNOB_RE.finditer(knobs_src))
    switches = tuple(
        Switch(m.group(1), m.group(2), int(m.group(3)), int(m.group(4)),
               int(m.group(5)), int(m.group(6)))
        for m in _SWITCH_RE.finditer(switches_src))

    if len(knobs) != 16 or sorted(k.number for k in knobs) != list(range(1, 17)):
        raise ValueError("expected sixteen knobs numbered 1..16 in " + path)
    if len(switches) != 7:
        raise ValueError("expected seven switches in " + path)
    for k in knobs:
        if k.parameter not in SCALE_ENDS:
            raise ValueError("no scale ends for parameter " + k.parameter)

    return Layout(consts["width"], consts["height"], knobs, switches)
