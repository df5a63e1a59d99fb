#!/usr/bin/env python3
"""Writes the main window's button pictures: for every button a resting and a
hover picture (SVG, 48 x 48). Both share the glyph; the hover picture lights
the plate and brightens the glyph. Beside them, in "tree", one picture per
hardware key of the trees' image list, on the same resting plate. Run it after
changing a glyph:

    python3 tools/button_pictures/make_button_pictures.py src/ui/resources/buttons
"""
import pathlib
import sys

# Colours of the two states: plate top/bottom, plate border, glyph, accent, dim.
STATES = {
    "rest": dict(top="#3b4552", bottom="#232a33", border="#5b6776",
                 fg="#d9e1ea", accent="#6fb7ff", dim="#8c9aab"),
    "hover": dict(top="#3f86cc", bottom="#1f4e7d", border="#a8d6ff",
                  fg="#ffffff", accent="#9dff7a", dim="#cfe6ff"),
}

# One glyph per button, in button order. Colours are filled in per state.
GLYPHS = {
    # 0 "Scan": three linked computers under a magnifier
    "scan": """
  <g stroke="{dim}" stroke-width="2" fill="none"><path d="M12 30 L24 18 L36 30 M12 30 L36 30"/></g>
  <g fill="{fg}"><rect x="7" y="26" width="10" height="8" rx="1"/><rect x="31" y="26" width="10" height="8" rx="1"/><rect x="19" y="12" width="10" height="8" rx="1"/></g>
  <circle cx="28" cy="30" r="7" fill="none" stroke="{accent}" stroke-width="3"/>
  <path d="M33 35 L40 42" stroke="{accent}" stroke-width="4" stroke-linecap="round"/>""",
    # 1 "Re-Scan": the network inside two turning arrows
    "rescan": """
  <path d="M12 20 A13 13 0 0 1 36 18" fill="none" stroke="{accent}" stroke-width="3" stroke-linecap="round"/>
  <path d="M31 13 L37 18 L30 21 Z" fill="{accent}"/>
  <path d="M36 28 A13 13 0 0 1 12 30" fill="none" stroke="{accent}" stroke-width="3" stroke-linecap="round"/>
  <path d="M17 35 L11 30 L18 27 Z" fill="{accent}"/>
  <g fill="{fg}"><rect x="15" y="21" width="7" height="6" rx="1"/><rect x="26" y="21" width="7" height="6" rx="1"/></g>
  <path d="M22 24 L26 24" stroke="{fg}" stroke-width="2"/>""",
    # 2 "Reset": a PC case and a turning-back arrow
    "reset": """
  <rect x="14" y="10" width="16" height="28" rx="2" fill="none" stroke="{fg}" stroke-width="2.5"/>
  <g fill="{fg}"><rect x="17" y="14" width="10" height="2"/><rect x="17" y="18" width="10" height="2"/><circle cx="22" cy="31" r="2"/></g>
  <path d="M34 34 A9 9 0 1 0 25 40" fill="none" stroke="{accent}" stroke-width="3" stroke-linecap="round"/>
  <path d="M30 31 L35 36 L39 30 Z" fill="{accent}"/>""",
    # 3 "View": an open case showing its parts
    "view": """
  <rect x="8" y="9" width="26" height="30" rx="2" fill="none" stroke="{fg}" stroke-width="2.5"/>
  <rect x="12" y="13" width="14" height="11" fill="{dim}"/>
  <g fill="{accent}"><rect x="14" y="15" width="5" height="5"/><rect x="21" y="14" width="2" height="9"/><rect x="12" y="28" width="18" height="3"/><rect x="12" y="33" width="18" height="3"/></g>
  <path d="M34 9 L41 13 L41 41 L34 39" fill="none" stroke="{dim}" stroke-width="2"/>""",
    # 4 "Selected": a monitor with a target mark
    "selected": """
  <rect x="7" y="10" width="30" height="21" rx="2" fill="none" stroke="{fg}" stroke-width="2.5"/>
  <rect x="18" y="31" width="8" height="5" fill="{fg}"/><rect x="13" y="36" width="18" height="3" rx="1" fill="{fg}"/>
  <circle cx="35" cy="31" r="7" fill="none" stroke="{accent}" stroke-width="2.5"/>
  <circle cx="35" cy="31" r="2.5" fill="{accent}"/>""",
    # 5 "Local": a house with a screen in it
    "local": """
  <path d="M6 24 L24 8 L42 24" fill="none" stroke="{accent}" stroke-width="3" stroke-linejoin="round" stroke-linecap="round"/>
  <path d="M11 22 L11 40 L37 40 L37 22" fill="none" stroke="{fg}" stroke-width="2.5"/>
  <rect x="16" y="24" width="16" height="10" rx="1" fill="{dim}"/>
  <rect x="21" y="35" width="6" height="2" fill="{fg}"/>""",
    # 6 "In": magnifier with a plus
    "zoom_in": """
  <circle cx="21" cy="21" r="12" fill="none" stroke="{fg}" stroke-width="3"/>
  <path d="M30 30 L40 40" stroke="{fg}" stroke-width="5" stroke-linecap="round"/>
  <path d="M15 21 L27 21 M21 15 L21 27" stroke="{accent}" stroke-width="3.5" stroke-linecap="round"/>""",
    # 7 "Out": magnifier with a minus
    "zoom_out": """
  <circle cx="21" cy="21" r="12" fill="none" stroke="{fg}" stroke-width="3"/>
  <path d="M30 30 L40 40" stroke="{fg}" stroke-width="5" stroke-linecap="round"/>
  <path d="M15 21 L27 21" stroke="{accent}" stroke-width="3.5" stroke-linecap="round"/>""",
    # 8 "Color": a painter's palette
    "color": """
  <path d="M24 8 C12 8 7 17 7 24 C7 33 14 40 22 40 C26 40 26 36 24 34 C22 31 25 29 28 30 C35 32 41 29 41 22 C41 14 34 8 24 8 Z" fill="{fg}"/>
  <circle cx="16" cy="20" r="3" fill="#e0403a"/><circle cx="24" cy="15" r="3" fill="#f2c230"/>
  <circle cx="32" cy="18" r="3" fill="#3fbf5a"/><circle cx="15" cy="29" r="3" fill="#3a7fe0"/>""",
    # 9 "Lights": a light bulb with rays
    "lights": """
  <path d="M24 9 C17 9 13 14 13 20 C13 25 17 27 18 31 L30 31 C31 27 35 25 35 20 C35 14 31 9 24 9 Z" fill="{accent}"/>
  <rect x="18" y="32" width="12" height="3" fill="{fg}"/><rect x="19" y="36" width="10" height="3" fill="{fg}"/>
  <path d="M21 40 L27 40" stroke="{dim}" stroke-width="2"/>
  <g stroke="{fg}" stroke-width="2" stroke-linecap="round"><path d="M6 20 L9 20 M39 20 L42 20 M10 8 L12 10 M38 8 L36 10"/></g>""",
    # 10 "Statistics": a bar chart
    "statistics": """
  <path d="M8 40 L40 40 M8 40 L8 8" stroke="{fg}" stroke-width="2.5" fill="none"/>
  <g fill="{accent}"><rect x="12" y="26" width="6" height="12"/><rect x="21" y="16" width="6" height="22"/><rect x="30" y="21" width="6" height="17"/></g>""",
    # 11 "Logins": two people and a key
    "logins": """
  <g fill="{fg}"><circle cx="16" cy="15" r="5"/><path d="M7 33 C7 25 11 22 16 22 C21 22 25 25 25 33 Z"/></g>
  <g fill="{dim}"><circle cx="28" cy="13" r="4"/><path d="M21 28 C21 22 24 19 28 19 C32 19 35 22 35 28 Z"/></g>
  <circle cx="32" cy="34" r="4" fill="none" stroke="{accent}" stroke-width="2.5"/>
  <path d="M35 37 L42 42 M39 40 L37 42" stroke="{accent}" stroke-width="2.5" stroke-linecap="round"/>""",
    # 12 "List": lines of a list
    "list": """
  <g fill="{accent}"><rect x="9" y="11" width="5" height="5"/><rect x="9" y="21" width="5" height="5"/><rect x="9" y="31" width="5" height="5"/></g>
  <g fill="{fg}"><rect x="17" y="12" width="22" height="3"/><rect x="17" y="22" width="22" height="3"/><rect x="17" y="32" width="22" height="3"/></g>""",
    # 13 "Help": a question mark in a circle
    "help": """
  <circle cx="24" cy="24" r="16" fill="none" stroke="{fg}" stroke-width="3"/>
  <path d="M18 19 C18 14 21 12 24 12 C28 12 31 14 31 18 C31 23 25 23 25 28 L25 30" fill="none" stroke="{accent}" stroke-width="3.5" stroke-linecap="round"/>
  <circle cx="25" cy="35" r="2.3" fill="{accent}"/>""",
    # 14 "Settings": a gear
    "settings": """
  <g fill="{fg}" transform="translate(24 24)">
    <rect x="-3" y="-17" width="6" height="8"/><rect x="-3" y="9" width="6" height="8"/>
    <rect x="-17" y="-3" width="8" height="6"/><rect x="9" y="-3" width="8" height="6"/>
    <g transform="rotate(45)"><rect x="-3" y="-17" width="6" height="8"/><rect x="-3" y="9" width="6" height="8"/>
    <rect x="-17" y="-3" width="8" height="6"/><rect x="9" y="-3" width="8" height="6"/></g>
    <circle r="11"/></g>
  <circle cx="24" cy="24" r="5" fill="{accent}"/>""",
    # 15 "Web": a globe
    "web": """
  <circle cx="24" cy="24" r="15" fill="none" stroke="{fg}" stroke-width="2.5"/>
  <ellipse cx="24" cy="24" rx="6.5" ry="15" fill="none" stroke="{accent}" stroke-width="2"/>
  <path d="M9 24 L39 24 M12 16 L36 16 M12 32 L36 32" stroke="{accent}" stroke-width="2"/>""",
    # 16 "3D": three axes
    "axes": """
  <path d="M18 30 L40 30 M18 30 L18 7 M18 30 L7 41" stroke-width="3" stroke-linecap="round" fill="none" stroke="{fg}"/>
  <path d="M40 26 L44 30 L40 34 Z" fill="#ff5a4f"/><path d="M14 8 L18 4 L22 8 Z" fill="#52d45e"/>
  <path d="M5 37 L6 43 L11 42 Z" fill="#5aa0ff"/>
  <text x="33" y="22" font-family="sans-serif" font-size="10" font-weight="bold" fill="{accent}">3D</text>""",
    # 17 "Base": a case standing on its base plate
    "base": """
  <rect x="15" y="8" width="18" height="22" rx="2" fill="none" stroke="{dim}" stroke-width="2"/>
  <path d="M6 34 L14 30 L42 30 L34 34 Z" fill="{accent}"/>
  <path d="M6 34 L34 34 L34 38 L6 38 Z M34 34 L42 30 L42 34 L34 38 Z" fill="{fg}"/>""",
    # 18 (no caption) "Set Current Node Login": a key with a plus
    "login_set": """
  <circle cx="16" cy="20" r="7" fill="none" stroke="{fg}" stroke-width="3"/>
  <path d="M21 25 L36 40 M30 34 L34 30 M34 38 L38 34" stroke="{fg}" stroke-width="3" stroke-linecap="round"/>
  <path d="M30 14 L42 14 M36 8 L36 20" stroke="{accent}" stroke-width="3.5" stroke-linecap="round"/>""",
    # 19 (no caption) "Reset Current Node Login": a key with a cross
    "login_reset": """
  <circle cx="16" cy="20" r="7" fill="none" stroke="{fg}" stroke-width="3"/>
  <path d="M21 25 L36 40 M30 34 L34 30 M34 38 L38 34" stroke="{fg}" stroke-width="3" stroke-linecap="round"/>
  <path d="M31 9 L41 19 M41 9 L31 19" stroke="#ff6b5e" stroke-width="3.5" stroke-linecap="round"/>""",
    # The view's side panel: the pan pad's switch and its four arrows.
    "pan": """
  <path d="M24 7 L30 14 L18 14 Z M24 41 L30 34 L18 34 Z M7 24 L14 18 L14 30 Z M41 24 L34 18 L34 30 Z" fill="{accent}"/>
  <path d="M24 14 L24 34 M14 24 L34 24" stroke="{fg}" stroke-width="3" stroke-linecap="round"/>""",
    "pan_up": """
  <path d="M24 9 L38 27 L29 27 L29 39 L19 39 L19 27 L10 27 Z" fill="{fg}" stroke="{accent}" stroke-width="2" stroke-linejoin="round"/>""",
    "pan_down": """
  <path d="M24 39 L38 21 L29 21 L29 9 L19 9 L19 21 L10 21 Z" fill="{fg}" stroke="{accent}" stroke-width="2" stroke-linejoin="round"/>""",
    "pan_left": """
  <path d="M9 24 L27 10 L27 19 L39 19 L39 29 L27 29 L27 38 Z" fill="{fg}" stroke="{accent}" stroke-width="2" stroke-linejoin="round"/>""",
    "pan_right": """
  <path d="M39 24 L21 10 L21 19 L9 19 L9 29 L21 29 L21 38 Z" fill="{fg}" stroke="{accent}" stroke-width="2" stroke-linejoin="round"/>""",
}

# One glyph per picture of the trees' image list (hardware keys), drawn on the
# same plate in the resting colours; shown at 16 pixels, so bold and simple.
TREE_GLYPHS = {
    # "nd": not detected, a question mark
    "nd": """
  <path d="M16 17 A8 8 0 1 1 27 24 C24 26 24 28 24 31" fill="none" stroke="{fg}" stroke-width="5" stroke-linecap="round"/>
  <circle cx="24" cy="39" r="3.5" fill="{accent}"/>""",
    # "os": a window with four panes
    "os": """
  <rect x="9" y="9" width="30" height="30" rx="3" fill="none" stroke="{fg}" stroke-width="4"/>
  <g fill="{accent}"><rect x="13" y="13" width="9" height="9"/><rect x="26" y="13" width="9" height="9"/><rect x="13" y="26" width="9" height="9"/><rect x="26" y="26" width="9" height="9"/></g>""",
    # "tower": a tall case with drive bays
    "tower": """
  <rect x="14" y="6" width="20" height="36" rx="2" fill="{fg}"/>
  <g fill="{dim}"><rect x="17" y="10" width="14" height="4"/><rect x="17" y="16" width="14" height="4"/></g>
  <circle cx="24" cy="34" r="3" fill="{accent}"/>""",
    # "cpu": a square chip with pins on every side
    "cpu": """
  <g stroke="{dim}" stroke-width="3"><path d="M17 6 V42 M24 6 V42 M31 6 V42 M6 17 H42 M6 24 H42 M6 31 H42"/></g>
  <rect x="11" y="11" width="26" height="26" rx="2" fill="{fg}"/>
  <rect x="18" y="18" width="12" height="12" fill="{accent}"/>""",
    # "mem": a memory module with chips
    "mem": """
  <rect x="4" y="15" width="40" height="18" rx="1" fill="{accent}"/>
  <g fill="{fg}"><rect x="8" y="19" width="7" height="9"/><rect x="17" y="19" width="7" height="9"/><rect x="26" y="19" width="7" height="9"/><rect x="35" y="19" width="6" height="9"/></g>
  <g fill="{dim}"><rect x="6" y="33" width="36" height="3"/></g>""",
    # "kb": a keyboard
    "kb": """
  <rect x="4" y="13" width="40" height="22" rx="3" fill="{fg}"/>
  <g fill="#232a33"><rect x="8" y="17" width="5" height="4"/><rect x="15" y="17" width="5" height="4"/><rect x="22" y="17" width="5" height="4"/><rect x="29" y="17" width="5" height="4"/><rect x="36" y="17" width="4" height="4"/><rect x="8" y="23" width="5" height="4"/><rect x="15" y="23" width="5" height="4"/><rect x="22" y="23" width="5" height="4"/><rect x="29" y="23" width="11" height="4"/><rect x="14" y="29" width="20" height="3"/></g>""",
    # "ms": a mouse with its cable
    "ms": """
  <path d="M24 4 C24 8 30 8 30 12" fill="none" stroke="{dim}" stroke-width="3"/>
  <rect x="14" y="12" width="20" height="30" rx="10" fill="{fg}"/>
  <path d="M24 12 V24 M14 24 H34" stroke="#232a33" stroke-width="2.5"/>
  <rect x="22" y="16" width="4" height="6" rx="2" fill="{accent}"/>""",
    # "mb": a board with a processor socket and slots
    "mb": """
  <rect x="6" y="6" width="36" height="36" rx="2" fill="#3a7d44" stroke="{fg}" stroke-width="2.5"/>
  <rect x="11" y="11" width="12" height="12" fill="{fg}"/>
  <g fill="{accent}"><rect x="28" y="10" width="4" height="16"/><rect x="35" y="10" width="4" height="16"/></g>
  <rect x="11" y="30" width="28" height="4" fill="{dim}"/>""",
    # "slots": three expansion slots
    "slots": """
  <g fill="{fg}"><rect x="9" y="8" width="7" height="32" rx="1"/><rect x="21" y="8" width="7" height="32" rx="1"/><rect x="33" y="8" width="7" height="32" rx="1"/></g>
  <g fill="{accent}"><rect x="11" y="24" width="3" height="3"/><rect x="23" y="24" width="3" height="3"/><rect x="35" y="24" width="3" height="3"/></g>""",
    # "bios": a firmware chip with a battery beside it
    "bios": """
  <g stroke="{dim}" stroke-width="3"><path d="M10 14 H6 M10 22 H6 M10 30 H6 M26 14 H30 M26 22 H30 M26 30 H30"/></g>
  <rect x="10" y="9" width="16" height="26" rx="2" fill="{fg}"/>
  <circle cx="18" cy="13" r="2" fill="{dim}"/>
  <circle cx="37" cy="32" r="7" fill="{accent}"/><path d="M34 32 H40" stroke="#232a33" stroke-width="2"/>""",
    # "agp": a video card with its fan and monitor socket
    "agp": """
  <rect x="5" y="12" width="36" height="22" rx="2" fill="{fg}"/>
  <circle cx="19" cy="23" r="7" fill="#232a33"/><circle cx="19" cy="23" r="3" fill="{accent}"/>
  <rect x="41" y="10" width="3" height="28" fill="{dim}"/>
  <g fill="{dim}"><rect x="9" y="34" width="24" height="4"/></g>""",
    # "hd": a hard disk: platter and arm in a case
    "hd": """
  <rect x="8" y="5" width="32" height="38" rx="3" fill="{fg}"/>
  <circle cx="24" cy="20" r="11" fill="{dim}"/><circle cx="24" cy="20" r="3" fill="#232a33"/>
  <path d="M35 38 L26 22" stroke="{accent}" stroke-width="4" stroke-linecap="round"/>""",
    # "dvd": a disc
    "dvd": """
  <circle cx="24" cy="24" r="18" fill="{fg}"/>
  <circle cx="24" cy="24" r="12" fill="none" stroke="{accent}" stroke-width="3"/>
  <circle cx="24" cy="24" r="4" fill="#232a33"/>""",
    # "fd": a floppy disk with its shutter and label
    "fd": """
  <path d="M8 8 H36 L40 12 V40 H8 Z" fill="{accent}"/>
  <rect x="15" y="8" width="16" height="11" fill="{fg}"/><rect x="25" y="10" width="4" height="7" fill="#232a33"/>
  <rect x="13" y="26" width="22" height="14" fill="{fg}"/>""",
    # "mc": a memory card with its cut corner and contacts
    "mc": """
  <path d="M12 5 H36 V43 H12 V14 Z" fill="{fg}"/>
  <path d="M12 14 L21 5" stroke="#232a33" stroke-width="1"/>
  <g fill="{accent}"><rect x="16" y="9" width="3" height="8"/><rect x="21" y="9" width="3" height="8"/><rect x="26" y="9" width="3" height="8"/><rect x="31" y="9" width="3" height="8"/></g>""",
    # "tape": a cassette with two reels
    "tape": """
  <rect x="4" y="11" width="40" height="26" rx="3" fill="{fg}"/>
  <rect x="10" y="16" width="28" height="12" rx="2" fill="#232a33"/>
  <g fill="{accent}"><circle cx="17" cy="22" r="4"/><circle cx="31" cy="22" r="4"/></g>
  <path d="M14 37 L17 31 H31 L34 37" fill="{dim}"/>""",
    # "usb": the USB trident
    "usb": """
  <g stroke="{fg}" stroke-width="3.5" fill="none" stroke-linecap="round" stroke-linejoin="round">
    <path d="M24 40 V8 M24 32 L13 24 V18 M24 28 L35 20 V15"/></g>
  <path d="M24 4 L19 11 H29 Z" fill="{fg}"/>
  <circle cx="13" cy="16" r="3.5" fill="{accent}"/><rect x="32" y="11" width="6" height="6" fill="{accent}"/>
  <circle cx="24" cy="41" r="4" fill="{fg}"/>""",
    # "fw": three joined ports (the FireWire sign)
    "fw": """
  <g stroke="{fg}" stroke-width="3.5" fill="none" stroke-linecap="round"><path d="M24 26 V40 M24 26 L12 14 M24 26 L36 14"/></g>
  <g fill="{accent}"><circle cx="12" cy="12" r="5"/><circle cx="36" cy="12" r="5"/><circle cx="24" cy="41" r="5"/></g>
  <circle cx="24" cy="26" r="4" fill="{fg}"/>""",
    # "scsi": a wide connector with two rows of pins
    "scsi": """
  <path d="M4 15 H44 L40 33 H8 Z" fill="{fg}"/>
  <g fill="#232a33"><rect x="10" y="19" width="28" height="4"/><rect x="12" y="26" width="24" height="3"/></g>
  <g fill="{accent}"><rect x="14" y="19" width="2" height="4"/><rect x="20" y="19" width="2" height="4"/><rect x="26" y="19" width="2" height="4"/><rect x="32" y="19" width="2" height="4"/></g>""",
    # "wireless": waves from a mast
    "wireless": """
  <g fill="none" stroke="{accent}" stroke-width="3.5" stroke-linecap="round">
    <path d="M14 16 A14 14 0 0 1 34 16"/><path d="M18 21 A8 8 0 0 1 30 21"/></g>
  <path d="M24 26 L17 42 H31 Z" fill="{fg}"/><circle cx="24" cy="25" r="3.5" fill="{fg}"/>""",
    # "ser": a nine-pin serial socket
    "ser": """
  <path d="M5 15 H43 L38 34 H10 Z" fill="{fg}"/>
  <g fill="{accent}"><circle cx="13" cy="21" r="2"/><circle cx="19" cy="21" r="2"/><circle cx="25" cy="21" r="2"/><circle cx="31" cy="21" r="2"/><circle cx="37" cy="21" r="2"/><circle cx="16" cy="28" r="2"/><circle cx="22" cy="28" r="2"/><circle cx="28" cy="28" r="2"/><circle cx="34" cy="28" r="2"/></g>""",
    # "par": a long parallel socket with a row of pins
    "par": """
  <path d="M3 18 H45 L42 30 H6 Z" fill="#b0405f"/>
  <g fill="{fg}"><rect x="8" y="21" width="2" height="2"/><rect x="12" y="21" width="2" height="2"/><rect x="16" y="21" width="2" height="2"/><rect x="20" y="21" width="2" height="2"/><rect x="24" y="21" width="2" height="2"/><rect x="28" y="21" width="2" height="2"/><rect x="32" y="21" width="2" height="2"/><rect x="36" y="21" width="2" height="2"/><rect x="10" y="25" width="28" height="2"/></g>""",
    # "snd": a speaker with sound waves
    "snd": """
  <path d="M7 18 H15 L25 9 V39 L15 30 H7 Z" fill="{fg}"/>
  <g fill="none" stroke="{accent}" stroke-width="3.5" stroke-linecap="round"><path d="M30 18 A8 8 0 0 1 30 30"/><path d="M35 12 A15 15 0 0 1 35 36"/></g>""",
    # "fan": a fan in its frame
    "fan": """
  <rect x="5" y="5" width="38" height="38" rx="5" fill="none" stroke="{dim}" stroke-width="3"/>
  <g fill="{fg}"><path d="M24 24 C16 20 16 10 24 9 C27 14 27 20 24 24 Z"/><path d="M24 24 C32 20 40 26 37 32 C31 32 27 29 24 24 Z"/><path d="M24 24 C24 32 16 38 11 33 C14 28 19 25 24 24 Z"/></g>
  <circle cx="24" cy="24" r="4" fill="{accent}"/>""",
    # "ups": a battery with a flash
    "ups": """
  <rect x="6" y="13" width="33" height="22" rx="3" fill="{fg}"/><rect x="39" y="19" width="4" height="10" fill="{fg}"/>
  <path d="M25 15 L15 26 H22 L19 34 L30 22 H23 Z" fill="{accent}" stroke="#232a33" stroke-width="1"/>""",
    # "ir": an infrared eye sending rays
    "ir": """
  <circle cx="14" cy="24" r="8" fill="#d9503f"/><circle cx="14" cy="24" r="3" fill="{fg}"/>
  <g stroke="{fg}" stroke-width="3" stroke-linecap="round"><path d="M26 24 H42 M25 16 L39 9 M25 32 L39 39"/></g>""",
    # "pcmia": a flat card half way into its slot
    "pcmia": """
  <rect x="6" y="27" width="36" height="9" rx="1" fill="{dim}"/>
  <rect x="10" y="10" width="28" height="22" rx="2" fill="{fg}"/>
  <g fill="{accent}"><rect x="14" y="14" width="20" height="4"/></g>
  <rect x="6" y="30" width="36" height="3" fill="#232a33"/>""",
    # "refg": a snowflake (cooling)
    "refg": """
  <g stroke="{accent}" stroke-width="3.5" stroke-linecap="round">
    <path d="M24 6 V42 M8.4 15 L39.6 33 M8.4 33 L39.6 15"/>
    <path d="M19 9 L24 13 L29 9 M19 39 L24 35 L29 39"/></g>""",
    # "pipe": a bent heat pipe with fins
    "pipe": """
  <path d="M8 38 H24 A8 8 0 0 0 32 30 V8" fill="none" stroke="#d08a4a" stroke-width="6" stroke-linecap="round"/>
  <g fill="{fg}"><rect x="25" y="10" width="14" height="3"/><rect x="25" y="16" width="14" height="3"/><rect x="25" y="22" width="14" height="3"/></g>""",
    # "temp": a thermometer
    "temp": """
  <rect x="19" y="5" width="10" height="28" rx="5" fill="{fg}"/>
  <circle cx="24" cy="36" r="8" fill="#d9503f"/><rect x="22" y="16" width="4" height="18" fill="#d9503f"/>
  <g stroke="{dim}" stroke-width="2"><path d="M31 10 H36 M31 16 H36 M31 22 H36"/></g>""",
    # "lock": a padlock
    "lock": """
  <path d="M15 22 V16 A9 9 0 0 1 33 16 V22" fill="none" stroke="{fg}" stroke-width="4"/>
  <rect x="10" y="22" width="28" height="20" rx="3" fill="{fg}"/>
  <circle cx="24" cy="30" r="3" fill="#232a33"/><rect x="23" y="31" width="2" height="6" fill="#232a33"/>""",
}

TEMPLATE = """<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <defs><linearGradient id="plate" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/></linearGradient></defs>
  <rect x="1.5" y="1.5" width="45" height="45" rx="8" fill="url(#plate)" stroke="{border}" stroke-width="1.5"/>{glyph}
</svg>
"""


def main() -> int:
    out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src/ui/resources/buttons")
    out.mkdir(parents=True, exist_ok=True)
    for name, glyph in GLYPHS.items():
        for state, colours in STATES.items():
            text = TEMPLATE.format(glyph=glyph.format(**colours), **colours)
            (out / f"{name}_{state}.svg").write_text(text)
    # The trees' pictures beside the buttons' folder, resting colours only.
    tree = out.parent / "tree"
    tree.mkdir(parents=True, exist_ok=True)
    colours = STATES["rest"]
    for name, glyph in TREE_GLYPHS.items():
        (tree / f"{name}.svg").write_text(TEMPLATE.format(glyph=glyph.format(**colours), **colours))
    return 0


if __name__ == "__main__":
    sys.exit(main())
