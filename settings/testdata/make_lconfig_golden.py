#!/usr/bin/env python3
"""Writes the golden link-builder settings files beside this script.

Independent of the C++ code: it knows only the stored layout (field order
and encodings), the defaults, the oldest headerless form and how a load and
a save change a record. Run it from any folder; it rewrites every file it
owns.

Encoding: u32 four bytes little-endian, a switch one byte, a text as a u32
length and its bytes, a list as a u32 count and its texts from the head.

Non-default values derive from the item number k of the current layout:
  text    b"l<k>-text"
  u32     100000 + k
  switch  the opposite of its default
  list    [b"l<k>-a", b"l<k>-b"], head first
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = b"/"  # the platform's path separator: the tests run on POSIX
HEADER = b"Brindlecast linker-configuration file"


def u32(v):
    return struct.pack("<I", v)


def u8(v):
    return struct.pack("<B", v)


def text(b):
    return u32(len(b)) + b


def lst(entries):
    return u32(len(entries)) + b"".join(text(e) for e in entries)


def encode(kind, value):
    return {"text": text, "u32": u32, "sw": lambda v: u8(int(v)), "list": lst}[kind](value)


# (item number, field, kind, default)
ITEMS = [
    (3, "link_artistdir", "text", b""),
    (4, "link_genredir", "text", b""),
    (5, "link_yeardir", "text", b""),
    (6, "link_groupdir", "text", b""),
    (7, "link_dirnamedir", "text", b""),
    (8, "link_allinonedir", "text", b""),
    (9, "link_logfile", "text", b""),
    (10, "link_list", "list", [b"19??", b"20??"]),
    (11, "link_pathes", "list", []),
    (12, "link_listp", "sw", 0),
    (13, "link_en", "sw", 0),
    (14, "link_artisten", "sw", 0),
    (15, "link_genreen", "sw", 0),
    (16, "link_yearen", "sw", 0),
    (17, "link_groupen", "sw", 0),
    (18, "link_dirnameen", "sw", 0),
    (19, "link_allinoneen", "sw", 0),
    (20, "link_reserved", "u32", 0),
    (21, "link_owner.username", "text", b"Brindlecast"),
    (22, "link_owner.group", "text", b"default"),
    (23, "link_owner.allow", "text", b"764"),
    (24, "link_show", "sw", 1),
    (25, "link_makeunknown", "sw", 0),
]
assert [i[0] for i in ITEMS] == list(range(3, 26))
FOLDERS = ["link_artistdir", "link_genredir", "link_yeardir", "link_groupdir",
           "link_dirnamedir", "link_allinonedir"]


def nondefault(item):
    k, _, kind, default = item
    if kind == "text":
        return b"l%d-text" % k
    if kind == "u32":
        return 100000 + k
    if kind == "sw":
        return 1 - default
    return [b"l%d-a" % k, b"l%d-b" % k]


def lconfig(version, values):
    out = text(HEADER) + u32(version)
    for item in ITEMS:
        out += encode(item[2], values[item[1]])
    return out


def loaded_and_saved(values):
    """What a load followed by a save stores: lists reversed, the six link
    folders with a final separator, the version current."""
    out = dict(values)
    for name in ("link_list", "link_pathes"):
        out[name] = list(reversed(values[name]))
    for name in FOLDERS:
        if out[name] and not out[name].endswith(SEP):
            out[name] = out[name] + SEP
    return out


# The oldest form: seven texts T1..T7, two lists, eight switches B1..B8, a
# u32, three dropped bytes, the owner's three texts.
OLDEST_TEXTS = [b"old-artist", b"old-genre", b"old-group", b"dropped-4", b"dropped-5",
                b"old-allinone", b"old-log.txt"]
OLDEST_LISTS = ([b"old-a", b"old-b"], [b"/srv/mp3", b"/srv/more"])
OLDEST_SWITCHES = [1, 1, 0, 1, 1, 1, 1, 1]  # B1..B8
OLDEST_RESERVED = 4242
OLDEST_OWNER = [b"olduser", b"oldgroup", b"755"]


def oldest():
    out = b"".join(text(t) for t in OLDEST_TEXTS)
    out += lst(OLDEST_LISTS[0]) + lst(OLDEST_LISTS[1])
    out += b"".join(u8(b) for b in OLDEST_SWITCHES)
    out += u32(OLDEST_RESERVED) + u8(9) + u8(8) + u8(7)
    return out + b"".join(text(t) for t in OLDEST_OWNER)


def converted():
    t = OLDEST_TEXTS
    b = OLDEST_SWITCHES
    values = {
        "link_artistdir": t[0], "link_genredir": t[1], "link_yeardir": b"",
        "link_groupdir": t[2], "link_dirnamedir": b"", "link_allinonedir": t[5],
        "link_logfile": t[6],
        # Read as lists are read, so stored in the reverse of their order.
        "link_list": OLDEST_LISTS[0], "link_pathes": OLDEST_LISTS[1],
        "link_listp": b[1], "link_en": b[0], "link_artisten": b[2], "link_genreen": b[3],
        "link_yearen": 0, "link_groupen": b[4], "link_dirnameen": 0, "link_allinoneen": b[7],
        "link_reserved": OLDEST_RESERVED,
        "link_owner.username": OLDEST_OWNER[0], "link_owner.group": OLDEST_OWNER[1],
        "link_owner.allow": OLDEST_OWNER[2],
        "link_show": 1, "link_makeunknown": 0,
    }
    return lconfig(956, loaded_and_saved(values))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    defaults = {item[1]: item[3] for item in ITEMS}
    values = {item[1]: nondefault(item) for item in ITEMS}
    write("lconfig-956-defaults.bcc", lconfig(956, defaults))
    for version in (956, 955, 954):
        write("lconfig-%d-values.bcc" % version, lconfig(version, values))
    write("lconfig-values-saved.bcc", lconfig(956, loaded_and_saved(values)))
    write("lconfig-oldest.bcc", oldest())
    write("lconfig-converted.bcc", converted())


if __name__ == "__main__":
    main()
