#!/usr/bin/env python3
"""Writes the golden settings files beside this script.

This writer is independent of the C++ code: it knows only the stored layouts
(field order and encodings) and the default values, and writes them with
struct. Run it from any folder; it rewrites every golden file.

Encoding: u32/i32 four bytes little-endian, u8/switch/char one byte, a text
as a u32 length and its bytes, a list as a u32 count and its texts from the
head.

Non-default files: every field gets a value that differs from its default,
derived from the field's item number k (its position in the current layout):
  text    b"<p><k>-text"           (p is "g" for global, "m" for module)
  u32     100000 + k
  switch  the opposite of its default
  choice  given in the tables below
  list    [b"<p><k>-a", b"<p><k>-b"], head first
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def u32(v):
    return struct.pack("<I", v)


def i32(v):
    return struct.pack("<i", v)


def u8(v):
    return struct.pack("<B", v)


def text(b):
    if isinstance(b, str):
        b = b.encode("latin-1")
    return u32(len(b)) + b


def lst(entries):
    return u32(len(entries)) + b"".join(text(e) for e in entries)


def encode(kind, value):
    if kind == "text":
        return text(value)
    if kind == "u32":
        return u32(value)
    if kind in ("u8", "sw", "char"):
        return u8(int(value))
    if kind == "list":
        return lst(value)
    raise ValueError(kind)


def crlf_lines(lines):
    """Each line followed by CR LF, the last one too."""
    return b"".join(l + b"\r\n" for l in lines)


def joined(lines):
    """Lines joined by CR LF, the last one without a line end."""
    return b"\r\n".join(lines)


# ---------------------------------------------------------------- global

G_HEADER = b"Brindlecast global-configuration file"

RULE = b":" + b"-" * 72 + b":"
M_HEAD = joined([RULE,
                 b"| M E S S A G E   B O A R D                                              |",
                 RULE,
                 b"| Rank   Username     Message                                            |",
                 b":------+------------+----------------------------------------------------:"])
M_TAIL = joined([RULE,
                 b"|                       SITE board <message>                             |",
                 RULE])
R_HEAD = joined([RULE,
                 b"| R E Q U E S T S                                                        |",
                 RULE,
                 b"| Rank   Username     Request                                            |",
                 b":------+------------+----------------------------------------------------:"])
R_TAIL = joined([RULE,
                 b"|  SITE request <request>   |   SITE fillrequest <Nr>   |   SITE showreq |",
                 RULE])
N_HEAD = joined([RULE,
                 b"| N E W E S T   D I R E C T O R Y S                                      |",
                 RULE,
                 b"| Rank   Directory                                                       |",
                 b":------+-----------------------------------------------------------------:"])
N_TAIL = joined([RULE, b"|" + b" " * 72 + b"|", RULE])
for frame in (M_HEAD, M_TAIL, R_HEAD, R_TAIL, N_HEAD, N_TAIL):
    assert all(len(l) == 74 for l in frame.split(b"\r\n"))

BOARD_ROW = b"|  %r  | %u | %t |"
DIR_ROW = b"|  %r  | %u: %t |"

# (item number, field, kind, default, non-default choice where not derived)
G_ITEMS = [
    (3, "userfile", "text", b""),
    (4, "vfsfile", "text", b""),
    (5, "vfsbackup", "text", b""),
    (6, "raidenftpd", "text", b""),
    (7, "vfs_maxentrys", "u32", 8192),
    (8, "mcd_list", "list", [b"CD*"]),
    (9, "deny_list", "list", [b"*incomplete*"]),
    (10, "ndl.en", "sw", 1),
    (11, "ndl.cutun", "sw", 0),
    (12, "ndl.cuttxt", "sw", 0),
    (13, "ndl.cutname", "sw", 0),
    (14, "ndl.maxentrys", "u32", 20),
    (15, "ndl.lineformat", "text", DIR_ROW),
    (16, "ndl.head", "text", N_HEAD),
    (17, "ndl.tail", "text", N_TAIL),
    (18, "ndl.file", "text", b""),
    (19, "ndl.unlen", "u32", 10),
    (20, "ndl.tlen", "u32", 51),
    (21, "ndl.namelen", "u32", 50),
    (22, "ndl.messageifdis", "sw", 1),
    (23, "ndlspecial.en", "sw", 1),
    (24, "ndlspecial.cutun", "sw", 0),
    (25, "ndlspecial.cuttxt", "sw", 0),
    (26, "ndlspecial.cutname", "sw", 0),
    (27, "ndlspecial.maxentrys", "u32", 20),
    (28, "ndlspecial.lineformat", "text", DIR_ROW),
    (29, "ndlspecial.head", "text", N_HEAD),
    (30, "ndlspecial.tail", "text", N_TAIL),
    (31, "ndlspecial.unlen", "u32", 10),
    (32, "ndlspecial.tlen", "u32", 50),
    (33, "ndlspecial.namelen", "u32", 50),
    (34, "ndlspecial.messageifdis", "sw", 1),
    (35, "ndl_exlist", "list", []),
    (36, "mb.en", "sw", 1),
    (37, "mb.maxmode", "sw", 1),
    (38, "mb.cutun", "sw", 0),
    (39, "mb.unlen", "u32", 10),
    (40, "mb.cuttxt", "sw", 0),
    (41, "mb.tlen", "u32", 50),
    (42, "mb.maxentrys", "u32", 20),
    (43, "mb.delm", "u8", 1, 0),
    (44, "mb.postm", "u8", 3, 2),
    (45, "mb.file", "text", b""),
    (46, "mb.messageifdis", "sw", 1),
    (47, "mb.lineformat", "text", BOARD_ROW),
    (48, "mb.head", "text", M_HEAD),
    (49, "mb.tail", "text", M_TAIL),
    (50, "rb.en", "sw", 0),
    (51, "rb.maxmode", "sw", 1),
    (52, "rb.cutun", "sw", 0),
    (53, "rb.unlen", "u32", 10),
    (54, "rb.cuttxt", "sw", 0),
    (55, "rb.tlen", "u32", 50),
    (56, "rb.maxentrys", "u32", 20),
    (57, "rb.delr", "u8", 1, 2),
    (58, "rb.postr", "u8", 3, 1),
    (59, "rb.file", "text", b""),
    (60, "rb.messageifdis", "sw", 1),
    (61, "rb.lineformat", "text", BOARD_ROW),
    (62, "rb.head", "text", R_HEAD),
    (63, "rb.tail", "text", R_TAIL),
    (64, "rb.preqpath", "text", b""),
    (65, "rb.postfilled", "sw", 0),
    (66, "rb.makedir", "sw", 1),
    (67, "nd.en", "sw", 0),
    (68, "nd.today", "sw", 1),
    (69, "nd.yesterday", "sw", 0),
    (70, "nd.path", "text", b""),
    (71, "nd.format", "text", b"%O%d-%o-%Y"),
    (72, "nd.todaylink", "text", b""),
    (73, "nd.yesterdaylink", "text", b""),
    (74, "tod.username", "text", b"Brindlecast"),
    (75, "tod.group", "text", b"default"),
    (76, "tod.allow", "text", b"766"),
    (77, "past.username", "text", b"Brindlecast"),
    (78, "past.group", "text", b"default"),
    (79, "past.allow", "text", b"744"),
]
assert [i[0] for i in G_ITEMS] == list(range(3, 80))

# The old layout (versions 96 and 97), by field name, after the version and
# the four dropped values.
G_OLD_ORDER = [
    "userfile", "vfsfile", "vfsbackup", "raidenftpd", "vfs_maxentrys", "mcd_list", "deny_list",
    "mb.en", "mb.maxmode", "mb.cutun", "mb.cuttxt", "mb.maxentrys", "mb.delm",
    "mb.lineformat", "mb.head", "mb.tail", "mb.file", "mb.unlen", "mb.tlen", "mb.messageifdis",
    "rb.en", "rb.maxmode", "rb.postfilled", "rb.cutun", "rb.cuttxt", "rb.maxentrys", "rb.delr",
    "rb.lineformat", "rb.head", "rb.tail", "rb.file", "rb.preqpath", "rb.unlen", "rb.tlen",
    "rb.messageifdis",
    "ndl.en", "ndl.cutun", "ndl.cuttxt", "ndl.maxentrys", "ndl.lineformat", "ndl.head",
    "ndl.tail", "ndl.file", "ndl.unlen", "ndl.tlen", "ndl.messageifdis",
    "nd.en", "nd.today", "nd.yesterday", "nd.path", "nd.format", "nd.todaylink",
    "nd.yesterdaylink",
    "tod.username", "tod.group", "tod.allow", "past.username", "past.group", "past.allow",
]


def nondefault(prefix, item):
    k, _, kind, default = item[:4]
    if len(item) > 4:
        return item[4]
    if kind == "text":
        return ("%s%d-text" % (prefix, k)).encode()
    if kind == "u32":
        return 100000 + k
    if kind == "sw":
        return 1 - default
    if kind == "list":
        return [("%s%d-a" % (prefix, k)).encode(), ("%s%d-b" % (prefix, k)).encode()]
    raise ValueError(item)


# Allotments of the non-default files, head first: user, when, mode,
# number, fill only if less.
ALLOTMENTS = [(b"Alice", 0, 1, 250, 0), (b"bob\xe9", 2, 2, -7, 1)]


def allotments(entries):
    out = u32(len(entries))
    for user, when, mode, number, fillless in entries:
        out += text(user) + u8(when) + u8(mode) + i32(number) + u8(fillless)
    return out


def gconfig_current(version, values, allot):
    out = text(G_HEADER) + u32(version)
    for item in G_ITEMS:
        out += encode(item[2], values[item[1]])
    return out + allotments(allot)


def gconfig_old(version, values, allot):
    kinds = {item[1]: item[2] for item in G_ITEMS}
    out = text(G_HEADER) + u32(version)
    out += u8(7) + u8(9) + text(b"dropped one") + text(b"dropped two")
    for name in G_OLD_ORDER:
        out += encode(kinds[name], values[name])
    return out + allotments(allot)


# ---------------------------------------------------------------- module

M_HEADER = b"Brindlecast module-configuration file"

# The banner and the large letters are this suite's own drawing; the same
# bytes are drawn by the C++ defaults. '#' full block 0xDB, '.' lower half
# block 0xDC, "'" upper half block 0xDF.
BANNER_PATTERN = [
    b"#''''. #'''' ......",
    b"#....' #     #'''''''''''''''''''''#",
    b"#    # #     # __|__|__|__|__|__|__",
    b"''''' '''''  '''''''''''''''''''' __ POWERED",
]
BANNER = [l.replace(b"#", b"\xdb").replace(b".", b"\xdc").replace(b"'", b"\xdf")
          for l in BANNER_PATTERN]
assert [len(l) for l in BANNER] == [19, 36, 35, 44]
assert BANNER[3].endswith(b"POWERED")
assert all(set(l[:-7] if i == 3 else l) <= set(b"\xdb\xdc\xdf_| ") for i, l in enumerate(BANNER))

F = b"+" + b"=" * 69 + b"+"
D = b"+------+------------+------------+-------+-----------+-----+----------+"
B = b"|" + b" " * 69 + b"|"
PERIOD = b"." + b"-" * 69 + b"."
TABLE = [
    b"|      | Racer      | Group      | Files | Size      |  %%  |   KB/s   |",
    D, b"%u", F,
    b"|      | Group      | Racers     | Files | Size      |  %%  |   KB/s   |",
    D, b"%g", F,
    b"| Section: general  | TotSize: %S | Avg speed: %v        |",
    b"`-------------------+--------------------+----------------------------'",
]
BODY_G = BANNER + [PERIOD, B, b"| [FILE: %f ] |", B, F] + TABLE
BODY_S = BANNER + [PERIOD, B, b"| [FILE: %f ] |",
                   b"| file passed the crc check successfully                              |",
                   B, b"| %p%% [%b] [%N/%m] |", F] + TABLE
assert len(BODY_G) == 19 and len(BODY_S) == 21
MP3_RIGHT = [b"     __  __ ___ ____", b"    |  \\/  | _ \\__ /", b"    | |\\/| |  _/|_ \\",
             b" |_|  |_|_| |___/"]
BODY_M = [
    b".-----------------=======[ MP3 Information ]=======-------------------.",
    b"| [ ARTiST: %a                        ] |",
    b"| [  ALBUM: %A                        ] |",
    b"| [  GENRE: %g                        ] |",
    b"| [   YEAR: %y                                                    ] |",
    # The comment line shows the comment key.
    b"| [COMMENT: %c                        ] |",
    b"+" + b"-" * 69 + b"+",
    b"| [  %m  ]  [   BiTRATE: %B kbps   ]" + MP3_RIGHT[0],
    b"|                         [    FREQ: %f hz     ]" + MP3_RIGHT[1],
    b"|________________________ [    MODE: %M ]" + MP3_RIGHT[2],
    b" " * 25 + b"\\" + b"_" * 28 + MP3_RIGHT[3],
]
assert [len(l) for l in BODY_M[7:]] == [56, 68, 61, 71]
USER_LINE = b"| --   | %u | %g |    %n | %s | %p | %v |"
GROUP_LINE = b"| --   | %g | %c         |    %n | %s | %p | %v |"

# (item number, field, kind, default, first version, [non-default])
M_ITEMS = [
    (3, "chmod.touser", "sw", 1, 96),
    (4, "chmod.username", "text", b"Brindlecast", 96),
    (5, "chmod.group", "text", b"default", 96),
    (6, "chmod.allow", "text", b"764", 96),
    (7, "sfvm", "u8", 1, 96, 2),
    (8, "sfvm_pat", "text", b"%n - SFV missing", 96),
    (9, "sfvm_patmul", "text", b"%b-%n - SFV missing", 96),
    (10, "mcd_sfvm", "sw", 1, 96),
    (11, "sfvi", "u8", 1, 96, 0),
    (12, "sfvi_pat", "text", b"%n - SFV incomplete", 96),
    (13, "sfvi_patmul", "text", b"%b-%n - SFV incomplete", 96),
    (14, "mcd_sfvi", "sw", 1, 96),
    (15, "mfiles", "u8", 1, 96, 2),
    (16, "mfiles_pat", "text", b"%n-missing", 96),
    (17, "ad_en", "sw", 0, 96),
    (18, "ad_file", "text", b"", 96),
    (19, "sfv_force", "sw", 0, 96),
    (20, "sfv_oneonly", "sw", 0, 96),
    (21, "sfv_insfv", "sw", 0, 96),
    (22, "sfv_filelist", "list", [b"*.nfo", b"*.m3u"], 96),
    (23, "sfv_dirlist", "list", [], 955),
    (24, "pb.mode", "u8", 1, 96, 2),
    (25, "pb.len", "u32", 10, 96),
    (26, "pb.empty", "text", b"--", 96),
    (27, "pb.full", "text", b"%", 96),
    (28, "pb.incpat", "text", b"[%b] - %p%% - %F of %o files uploaded", 96),
    (29, "pb.compat", "text", b"[COMPLETED] - %sMB in %o files", 96),
    (30, "pb.incpatmul", "text", b"[%b] - %p%% - %F of %o files uploaded in %P", 96),
    (31, "pb.compatmul", "text", b"[%P COMPLETED] - %sMB in %o files", 96),
    (32, "pb.merge", "sw", 1, 97),
    (33, "pb.mcd", "sw", 0, 96),
    (34, "move_en", "sw", 0, 96),
    (35, "move_dir", "text", b"", 96),
    (36, "tinfo.mode", "u8", 2, 96, 1),
    (37, "tinfo.id", "text", b"TAG", 96),
    (38, "tinfo.format", "text", b" %B  -  %a  -  %y  -  %g", 96),
    (39, "tinfo.mergepat", "text", b"[COMPLETED] - %s in %o files using %B - %a - %y - %g", 96),
    (40, "tinfo.idmul", "text", b"TAG", 96),
    (41, "tinfo.formatmul", "text", b" %B  -  %a  -  %y  -  %g in %P", 96),
    (42, "tinfo.mergepatmul", "text",
     b"[%P COMPLETED] - %s in %o files using %B - %a - %y - %g", 96),
    (43, "tinfo.mcd", "sw", 0, 96),
    (44, "tinfo.merge", "sw", 1, 96),
    (45, "tinfo.last", "sw", 1, 96),
    (46, "m3u_deny", "sw", 0, 96),
    (47, "m3u_create", "sw", 0, 96),
    (48, "m3u_skip", "sw", 0, 96),
    (49, "cinfo", "u8", 0, 96, 2),
    (50, "badf", "u8", 2, 96, 1),
    (51, "specialndl", "sw", 0, 954),
    (52, "ndlspecial_file", "text", b"", 954),
    (53, "ndlspecial_addmain", "sw", 0, 956),
    (54, "racer.gbody", "text", crlf_lines(BODY_G), 96),
    (55, "racer.guser", "text", USER_LINE, 96),
    (56, "racer.ggroup", "text", GROUP_LINE, 96),
    (57, "racer.gbdplen", "u32", 30, 96),
    (58, "racer.gbdnlen", "u32", 30, 96),
    (59, "racer.gbfnlen", "u32", 58, 96),
    (60, "racer.gbcutdp", "sw", 0, 96),
    (61, "racer.gbcutdn", "sw", 0, 96),
    (62, "racer.gbcutfn", "sw", 0, 96),
    (63, "racer.glunlen", "u32", 10, 96),
    (64, "racer.glgrlen", "u32", 10, 96),
    (65, "racer.gldplen", "u32", 30, 96),
    (66, "racer.gldnlen", "u32", 30, 96),
    (67, "racer.glfnlen", "u32", 30, 96),
    (68, "racer.glcutun", "sw", 1, 96),
    (69, "racer.glcutgr", "sw", 1, 96),
    (70, "racer.glcutdp", "sw", 0, 96),
    (71, "racer.glcutdn", "sw", 0, 96),
    (72, "racer.glcutfn", "sw", 0, 96),
    (73, "racer.gsortu", "char", 1, 96, 2),
    (74, "racer.gsortg", "char", 1, 96, 0),
    (75, "racer.sbody", "text", crlf_lines(BODY_S), 96),
    (76, "racer.suser", "text", USER_LINE, 96),
    (77, "racer.sgroup", "text", GROUP_LINE, 96),
    (78, "racer.sbdplen", "u32", 30, 96),
    (79, "racer.sbdnlen", "u32", 30, 96),
    (80, "racer.sbfnlen", "u32", 58, 96),
    (81, "racer.sbcutdp", "sw", 0, 96),
    (82, "racer.sbcutdn", "sw", 0, 96),
    (83, "racer.sbcutfn", "sw", 0, 96),
    (84, "racer.slunlen", "u32", 10, 96),
    (85, "racer.slgrlen", "u32", 10, 96),
    (86, "racer.sldplen", "u32", 30, 96),
    (87, "racer.sldnlen", "u32", 30, 96),
    (88, "racer.slfnlen", "u32", 30, 96),
    (89, "racer.slcutun", "sw", 1, 96),
    (90, "racer.slcutgr", "sw", 1, 96),
    (91, "racer.slcutdp", "sw", 0, 96),
    (92, "racer.slcutdn", "sw", 0, 96),
    (93, "racer.slcutfn", "sw", 0, 96),
    (94, "racer.sbarempty", "text", b":", 96),
    (95, "racer.sbarfull", "text", b"#", 96),
    (96, "racer.sbarlen", "u32", 52, 96),
    (97, "racer.ssortu", "char", 1, 96, 0),
    (98, "racer.ssortg", "char", 1, 96, 2),
    (99, "racer.mbody", "text", crlf_lines(BODY_M), 96),
    (100, "racer.marlen", "u32", 32, 96),
    (101, "racer.mallen", "u32", 32, 96),
    (102, "racer.mgelen", "u32", 32, 96),
    (103, "racer.mmmlen", "u32", 16, 96),
    (104, "racer.mcolen", "u32", 32, 96),
    (105, "racer.mcutar", "sw", 0, 96),
    (106, "racer.mcutal", "sw", 0, 96),
    (107, "racer.mcutge", "sw", 0, 96),
    (108, "racer.mcutmm", "sw", 0, 96),
    (109, "racer.mcutco", "sw", 0, 96),
    (110, "racer.en", "sw", 1, 96),
    (111, "racer.sen", "sw", 1, 96),
    (112, "racer.men", "sw", 1, 96),
    (113, "racer.chmod", "sw", 1, 956),
]
assert [i[0] for i in M_ITEMS] == list(range(3, 114))


def m_nondefault(item):
    k, name, kind, default, _ = item[:5]
    if len(item) > 5:
        return item[5]
    return nondefault("m", (k, name, kind, default))


def mconfig(version, values):
    out = text(M_HEADER) + u32(version)
    for item in M_ITEMS:
        if item[4] <= version:
            out += encode(item[2], values[item[1]])
    return out


# ---------------------------------------------------------------- index

# filename, path, section name, description, default
MODULES = [
    (b"default.bcm", b"/", b"default", b"This module applies when no other does.", 1),
    (b"mods/mp3.bcm", b"/mp3/", b"mp3", b"Music \xe9t\xe9", 0),
    (b"", b"", b"empty", b"", 0),
]


def module_index(modules):
    out = i32(len(modules))
    for filename, path, section, description, default in modules:
        out += text(filename) + text(path) + text(section) + text(description) + u8(default)
    return out


# ---------------------------------------------------------------- files

def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    g_defaults = {item[1]: item[3] for item in G_ITEMS}
    g_values = {item[1]: nondefault("g", item) for item in G_ITEMS}
    write("gconfig-956-defaults.bcc", gconfig_current(956, g_defaults, []))
    write("gconfig-956-values.bcc", gconfig_current(956, g_values, ALLOTMENTS))
    write("gconfig-955-values.bcc", gconfig_current(955, g_values, ALLOTMENTS))
    write("gconfig-954-values.bcc", gconfig_current(954, g_values, ALLOTMENTS))
    write("gconfig-97-values.bcc", gconfig_old(97, g_values, ALLOTMENTS))
    write("gconfig-96-values.bcc", gconfig_old(96, g_values, ALLOTMENTS))

    m_defaults = {item[1]: item[3] for item in M_ITEMS}
    m_values = {item[1]: m_nondefault(item) for item in M_ITEMS}
    write("module-956-defaults.bcm", mconfig(956, m_defaults))
    for version in (956, 955, 954, 97, 96):
        write("module-%d-values.bcm" % version, mconfig(version, m_values))

    write("ModuleIndex.idx", module_index(MODULES))


if __name__ == "__main__":
    main()
