#!/usr/bin/env python3
"""Writes the message list's item icons (16x16) and status glyphs (10x16) as SVG files into
this folder. The pictures are the list's own artwork; run again after changing a drawing."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Colourings of the item icons: fill, darker outline.
SCHEMES = {
    "blue": ("#5b8fd6", "#1f4f96"),
    "grey": ("#b4b4b4", "#666666"),
    "pink": ("#f1a7b8", "#a3354f"),
}
BANG = ('<rect x="12.6" y="0.5" width="2.8" height="6" rx="0.6" fill="#d01c1c"/>'
        '<rect x="12.6" y="7.4" width="2.8" height="2.4" rx="0.6" fill="#d01c1c"/>')


def svg(width, body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="16" '
            'viewBox="0 0 %d 16">\n  %s\n</svg>\n' % (width, width, body))


def envelope(fill, line, opened):
    if not opened:
        return ('<rect x="1.5" y="4.5" width="13" height="9" rx="0.8" fill="%s" stroke="%s"/>'
                '<path d="M2 5 L8 10 L14 5" fill="none" stroke="%s"/>' % (fill, line, line))
    return ('<path d="M1.5 7.5 L8 3 L14.5 7.5 Z" fill="#ffffff" stroke="%s" stroke-linejoin="round"/>'
            '<rect x="1.5" y="7.5" width="13" height="6" rx="0.8" fill="%s" stroke="%s"/>'
            '<path d="M2 8 L8 12 L14 8" fill="none" stroke="%s"/>' % (line, fill, line, line))


def clock(fill, line, read):
    face = "#ffffff" if not read else "#eef2f6"
    return ('<circle cx="8" cy="8.5" r="6.5" fill="%s" stroke="%s" stroke-width="1.4"/>'
            '<circle cx="8" cy="8.5" r="4.6" fill="%s"/>'
            '<path d="M8 5.2 V8.5 H10.6" fill="none" stroke="#202020" stroke-width="1.2" '
            'stroke-linecap="round"/>' % (fill, line, face)) + (
        '' if not read else '<path d="M1.5 14.5 H14.5" stroke="%s" stroke-width="1"/>' % line)


def tickbox(fill, line, read):
    box = "#ffffff" if not read else "#eef2f6"
    tick = "#1d8a2e" if read else "#9aa3ad"
    return ('<rect x="2.5" y="3.5" width="10" height="10" rx="1" fill="%s" stroke="%s" '
            'stroke-width="1.4"/><rect x="4" y="5" width="7" height="7" fill="%s"/>'
            '<path d="M4.5 8.5 L7 11 L14 2.5" fill="none" stroke="%s" stroke-width="1.8" '
            'stroke-linecap="round" stroke-linejoin="round"/>' % (fill, line, box, tick))


def sheet(fill, line, read):
    paper = "#fffbe6" if not read else "#f2f2f2"
    return ('<path d="M2.5 1.5 H10.5 L12.5 3.5 V14.5 H2.5 Z" fill="%s" stroke="%s"/>'
            '<path d="M4 5 H10 M4 7.5 H10 M4 10 H8" stroke="%s" stroke-width="0.9"/>'
            '<path d="M8.5 13.5 L14 8 L15.5 9.5 L10 15 L8 15.5 Z" fill="%s" stroke="#503c14" '
            'stroke-width="0.8" stroke-linejoin="round"/>' % (paper, line, line, fill))


def telephone(fill, line, read):
    base = ('<path d="M2 10.5 Q2 8.5 4 8.5 H12 Q14 8.5 14 10.5 V14.5 H2 Z" fill="%s" '
            'stroke="%s"/><circle cx="8" cy="11.8" r="1.6" fill="#ffffff" stroke="%s" '
            'stroke-width="0.8"/>' % (fill, line, line))
    if not read:
        handset = ('<path d="M1.5 6.5 Q8 3 14.5 6.5 L13 8 H11 V6.5 Q8 5.5 5 6.5 V8 H3 Z" '
                   'fill="%s" stroke="%s" stroke-width="0.9" stroke-linejoin="round"/>'
                   % (fill, line))
    else:  # handset lifted
        handset = ('<g transform="rotate(-28 8 4)"><path d="M1.5 5 Q8 1.5 14.5 5 L13 6.5 H11 '
                   'V5 Q8 4 5 5 V6.5 H3 Z" fill="%s" stroke="%s" stroke-width="0.9" '
                   'stroke-linejoin="round"/></g>' % (fill, line))
    return base + handset


def documents():
    pages = ""
    for i, (x, y) in enumerate(((5.5, 1.5), (3.5, 3.5), (1.5, 5.5))):
        pages += ('<rect x="%s" y="%s" width="9" height="9" fill="%s" stroke="#4a5a70"/>'
                  % (x, y, "#ffffff" if i == 2 else "#dbe4f0"))
    return pages + '<path d="M3 8 H9 M3 10 H9 M3 12 H7" stroke="#4a5a70" stroke-width="0.8"/>'


def item_icons():
    icons = {}
    kinds = [(8, "mail"), (14, "clock"), (20, "tick"), (26, "sheet"), (32, "phone")]
    draw = {"clock": clock, "tick": tickbox, "sheet": sheet, "phone": telephone}
    for base, kind in kinds:
        for read in (False, True):
            for n, scheme in enumerate(("blue", "grey", "pink")):
                fill, line = SCHEMES[scheme]
                if kind == "mail":
                    body = envelope(fill, line, read)
                else:
                    body = draw[kind](fill, line, read)
                if scheme == "pink":
                    body += BANG
                icons[base + n + (3 if read else 0)] = body
    icons[72] = documents()
    fill, line = SCHEMES["grey"]
    icons[80] = envelope(fill, line, False)
    return icons


def glyphs():
    red_arrow = ('<rect x="0.5" y="3" width="1.6" height="10" fill="#7a1010"/>'
                 '<path d="M3 8 H7 M5.5 5.5 L8.5 8 L5.5 10.5" fill="none" stroke="#d01c1c" '
                 'stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round"/>')
    nib = ('<path d="M5 2 L8.5 7.5 L5 14 L1.5 7.5 Z" fill="#3a3a3a"/>'
           '<path d="M5 6 V12" stroke="#ffffff" stroke-width="0.8"/>'
           '<circle cx="5" cy="6" r="1" fill="#ffffff"/>')
    pencil = ('<path d="M2 14 L2.6 11 L8 3 L9.6 4.2 L4.2 12.2 Z" fill="#f2c230" stroke="#7a5a10" '
              'stroke-width="0.8" stroke-linejoin="round"/><path d="M2 14 L2.6 11 L4.2 12.2 Z" '
              'fill="#3a3a3a"/>')
    left = ('<path d="M9 8 H2.5 M5.5 4.5 L2 8 L5.5 11.5" fill="none" stroke="%s" '
            'stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>')
    right = ('<path d="M1 8 H7.5 M4.5 4.5 L8 8 L4.5 11.5" fill="none" stroke="%s" '
             'stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>')
    both = ('<path d="M9 5 H2.5 M4.8 2.5 L2 5 L4.8 7.5" fill="none" stroke="#e07b00" '
            'stroke-width="1.7" stroke-linecap="round" stroke-linejoin="round"/>'
            '<path d="M1 11 H7.5 M5.2 8.5 L8 11 L5.2 13.5" fill="none" stroke="#1f5fc0" '
            'stroke-width="1.7" stroke-linecap="round" stroke-linejoin="round"/>')
    clip = ('<path d="M6.5 5 V11.5 Q6.5 14 4.5 14 Q2.5 14 2.5 11.5 V4 Q2.5 2 4.5 2 Q6.5 2 '
            '6.5 4 V5" fill="none" stroke="#505050" stroke-width="1.1" stroke-linecap="round"/>'
            '<path d="M4.5 5 V11" stroke="#505050" stroke-width="1.1" stroke-linecap="round"/>')
    return {0: red_arrow, 1: nib, 2: pencil, 3: left % "#e07b00", 4: right % "#1f5fc0",
            6: both, 10: clip}


def main():
    for index, body in item_icons().items():
        with open(os.path.join(HERE, "item_%02d.svg" % index), "w") as f:
            f.write(svg(16, body))
    for index, body in glyphs().items():
        with open(os.path.join(HERE, "status_%02d.svg" % index), "w") as f:
            f.write(svg(10, body))


if __name__ == "__main__":
    main()
