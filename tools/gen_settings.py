#!/usr/bin/env python3
"""Writes the shipped settings files under modules/setting/.

apConfig.bin and apConfigD.bin: the application configuration and its factory copy.
pD.bin: the default profile; p1.bin .. p10.bin: the ten profile slots, shipped equal to it.

The files are INI text as the program's settings reader expects: one [section] per key
prefix, lists written as their elements joined by ", ". Run from anywhere:
    python3 tools/gen_settings.py
"""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "modules", "setting")

# --- application configuration -------------------------------------------------------------

# The seven text colours the global settings page offers, in its order.
TEXT_COLOURS = [
    (0, 255, 255), (255, 200, 150), (255, 180, 0), (200, 200, 100),
    (200, 170, 255), (255, 180, 180), (160, 190, 160),
]

# The 32 positional values of the global settings page, as it saves them.
APCONFIG_LIST = (
    [
        1,        # 0 format version
        1,        # 1 skin 1
        0,        # 2 sound on
        0,        # 3 animations on
        2,        # 4 language row: the list is sorted by display name, and ENGLISH comes
                  #   after CHINESE (Simp) and CHINESE (Trad)
        "false",  # 5 no custom background
        "",       # 6 custom background address
        0,        # 7 normal text size
    ]
    + [c for rgb in TEXT_COLOURS for c in rgb]  # 8 .. 28
    + [
        0,        # 29 first text colour chosen
        7,        # 30 full text brightness
        "https://example.com/",  # 31 address the logo opens
    ]
)
assert len(APCONFIG_LIST) == 32

SCRAMBLE_CODE = "284613"

APCONFIG = [
    ("common", [
        ("name", "Q7 Configurator"),
        # Display names of the device table's sections: 0 keyboard, 1 mouse.
        ("product_name", ["Q7 Keyboard", "Q7"]),
        ("sCode0", SCRAMBLE_CODE),
        ("sCode1", SCRAMBLE_CODE),
        ("total", len(APCONFIG_LIST)),
    ] + [(str(i), v) for i, v in enumerate(APCONFIG_LIST)]),
    ("Q7", [
        ("colorMaxStage", 8),
    ]),
]

# --- default profile -----------------------------------------------------------------------

# Function code of each of the sixteen button slots (type, parameter 1, 2, 3).
BUTTON_CODES = [
    (0x01, 0x00, 0xF0, 0x00),  # left button
    (0x01, 0x00, 0xF1, 0x00),  # right button
    (0x01, 0x00, 0xF2, 0x00),  # middle button
    (0x01, 0x00, 0xF4, 0x00),  # forward
    (0x01, 0x00, 0xF3, 0x00),  # backward
    (0x07, 0x00, 0x03, 0x00),  # DPI switch
    (0x0B, 0x00, 0x00, 0x00),  # lighting on/off
    (0x07, 0x00, 0x03, 0x00),  # DPI switch
    (0x05, 0x00, 0x03, 0x00),  # device function without a menu entry, kept as the mouse has it
    (0x03, 0x00, 0x8A, 0x01),  # mail (consumer usage 0x018A)
    (0x03, 0x00, 0x23, 0x02),  # browser home (0x0223)
    (0x03, 0x00, 0x94, 0x01),  # file browser (0x0194)
    (0x00, 0x00, 0x00, 0x00),  # none
    (0x00, 0x00, 0x00, 0x00),  # none
    (0x04, 0x00, 0x01, 0x00),  # wheel up
    (0x04, 0x00, 0x02, 0x00),  # wheel down
]
assert len(BUTTON_CODES) == 16

# Red, green, blue, magenta, cyan, yellow, white, orange: the order of the eight fixed
# indicator colours, so the free colours and the colour numbers below agree.
EIGHT_COLOURS = [
    (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 0, 255),
    (0, 255, 255), (255, 255, 0), (255, 255, 255), (255, 127, 0),
]

PROFILE = [
    ("keydefine_Q7", [(str(n), list(code)) for n, code in enumerate(BUTTON_CODES)] + [
        ("scrollswap", "false"),
    ]),
    ("sensor", [
        ("reportRate_Q7", 2),           # 500 Hz (code = interval in ms)
        ("cursorSpeed_Q7", 5),
        ("verticalScrollLines_Q7", 2),  # three lines per notch
        ("doubleClickSpeed_Q7", 5),     # 550 ms
        ("dpi_Q7", [500, 1000, 1500, 2000, 0, 0, 0, 0]),
        ("stage_Q7", 2),
    ]),
    ("color_Q7", [
        ("type0", [c for rgb in EIGHT_COLOURS for c in rgb]),  # lighting colours
        ("type1", [c for rgb in EIGHT_COLOURS for c in rgb]),  # DPI stage colours
        ("type2", list(range(8))),                             # DPI stage colour numbers
        ("ledEffect", [0, 7, 4]),                              # static, brightness 7, speed 4
    ]),
]


def ini_value(v):
    if isinstance(v, list):
        assert len(v) != 1, "a one-element list would read back as a plain value"
        return ", ".join(ini_value(e) for e in v)
    s = str(v)
    # These characters would need the reader's escaping; the shipped data avoids them.
    assert not any(ch in s for ch in ',;"\\=#\n') and not s.startswith("@"), s
    return s


def ini_text(sections):
    lines = []
    for name, entries in sections:
        if lines:
            lines.append("")
        lines.append("[%s]" % name)
        for key, value in entries:
            lines.append("%s=%s" % (key, ini_value(value)))
    return "\n".join(lines) + "\n"


def write(name, text):
    path = os.path.join(OUT, name)
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    os.replace(tmp, path)


def main():
    os.makedirs(OUT, exist_ok=True)
    apconfig = ini_text(APCONFIG)
    write("apConfig.bin", apconfig)
    write("apConfigD.bin", apconfig)
    profile = ini_text(PROFILE)
    write("pD.bin", profile)
    for k in range(1, 11):
        write("p%d.bin" % k, profile)
    return 0


if __name__ == "__main__":
    sys.exit(main())
