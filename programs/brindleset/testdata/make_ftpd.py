#!/usr/bin/env python3
"""Writes the .ftpd files of the hook registration test, independently of the
utility: hooks.ftpd as a server keeps it (CR LF lines, foreign keys, every
hook key, filled and empty site-command slots, a line longer than 1,023
characters, an LF line and a last line without a line end), and
hooks-registered.ftpd, the same file as the registration must leave it.

In the registered file "{dir}" stands for the install folder (with its
trailing separator) and "{exe}" for the platform's program suffix; the test
puts both in before comparing bytes.
"""
import os

CRLF = "\r\n"
SEP = "??-??"


def entry(key, scheme, program, fields):
    path = "{dir}" + program + "{exe}"
    return key + "=" + scheme + path + " " + path + "".join(SEP + "%" + f for f in fields) + CRLF


# "landfall=" in the column where a reader of 1,023 characters would cut it.
LONG = ";" + "x" * 1022 + "landfall=ask://C:\\evil\\landfall.exe"
QUIP = ["^", "e", "g", "S", "$", "@", "!"]

# (line as the server has it, what the registration writes for it)
LINES = [
    ("[Hooks]" + CRLF, "[Hooks]" + CRLF),
    ("; the site's event hooks" + CRLF, "; the site's event hooks" + CRLF),
    ("LANDFALL=exec://C:\\old\\landfall.exe C:\\old\\landfall.exe??-??%R" + CRLF,
     entry("landfall", "ask://", "landfall", "RbmrgSV@")),
    ("landfallx=C:\\tools\\logger.exe %R" + CRLF, "landfallx=C:\\tools\\logger.exe %R" + CRLF),
    ("foldbirth=" + CRLF, entry("foldbirth", "ask://", "foldbirth", "@mrgS")),
    ("tallysour=exec://C:\\old\\tallysour.exe" + CRLF,
     entry("tallysour", "exec://", "tallysour", "mrgS")),
    ("TallyGlad=" + CRLF, entry("tallyglad", "exec://", "tallyglad", "RbmrgS")),
    ("onsfvcomplete=exec://C:\\other\\sfvdone.exe %m" + CRLF,
     entry("onSfvComplete", "exec://", "tallyfull", "mrgS")),
    ("landguard=\n", entry("landguard", "ask://", "landguard", "@mrgS")),
    ("sweepguard=" + CRLF, entry("sweepguard", "exec://", "sweepguard", "Rb@mrgS")),
    ("quipgate=exec://C:\\other\\sitebot.exe %!" + CRLF,
     "quipgate=exec://C:\\other\\sitebot.exe %!" + CRLF),
    (LONG + CRLF, LONG + CRLF),
    ("quipgate2=exec://C:\\other\\another.exe" + CRLF,
     "quipgate2=exec://C:\\other\\another.exe" + CRLF),
    ("quipgate3=" + CRLF, entry("quipgate3", "exec://", "quipgate", QUIP)),
    ("quipgate2=exec://C:\\old\\quipgate.exe C:\\old\\quipgate.exe??-??%^" + CRLF,
     "quipgate2=exec://C:\\old\\quipgate.exe C:\\old\\quipgate.exe??-??%^" + CRLF),
    ("quipgate4=exec://C:\\other\\fourth.exe" + CRLF,
     "quipgate4=exec://C:\\other\\fourth.exe" + CRLF),
    ("Quipgate=" + CRLF, entry("quipgate", "exec://", "quipgate", QUIP)),
    (CRLF, CRLF),
    ("motd=Welcome\n", "motd=Welcome" + CRLF),
    ("port=21", "port=21"),
]

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "hooks.ftpd"), "wb") as f:
    f.write("".join(old for old, _ in LINES).encode("ascii"))
with open(os.path.join(here, "hooks-registered.ftpd"), "wb") as f:
    f.write("".join(new for _, new in LINES).encode("ascii"))
