#!/usr/bin/env python3
"""Writes the golden server files beside this script.

Independent of the C++ code: it knows the line formats of the server's vfs
file (15 columns separated by '|') and user file (23 fields separated by
':'), the order in which the vfs file is saved (the lines reversed, added
lines first, every line with a line end) and how a credit change shows
(only field 16, with two decimals). Run it from any folder.

The samples hold what the server may write and the suite must keep: signs,
blanks and other texts in number and flag columns, an empty kind column, CR
LF and LF line ends, 8-bit bytes and a last line without a line end.
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))

# ------------------------------------------------------------------ vfs

VFS_LINES = [
    (b"/srv/mp3|/mp3|ftp|ftp|777|r|0|0|0|0|0|0|0|0|", b"\r\n"),
    (b"/srv/odd/|/odd/| owner |grp|-rw||-5| 1 |+7|  12|yes|1|0|01|rest with \xe9 and blanks ",
     b"\r\n"),
    (b"/srv/x|/x|a|b|755|d|4294967296|1|0|0|0|0|0|0|", b"\n"),
    (b"|/all|a|b|1|r|0|0|0|0|0|0|0|0|tail", b"\n"),
    (b"/srv/last|/last|u|g|700|r|0|0|0|0|0|0|0|0|", b""),
]
for text, _ in VFS_LINES:
    assert text.count(b"|") == 14

# What the suite adds: real path "/srv/new/", virtual path "/new/", owner,
# group, rights, kind r and zeros; one trailing separator of each path goes.
VFS_ADDED = b"/srv/new|/new|owner|group|775|r|0|0|0|0|0|0|0|0|"


def vfs_file(lines):
    return b"".join(text + end for text, end in lines)


def vfs_saved(lines, added):
    """Lines a new line end gets take the first line end of the file."""
    first_end = next((end for _, end in lines if end), b"\n")
    out = b"".join(text + first_end for text in added)
    for text, end in reversed(lines):
        out += text + (end or first_end)
    return out


# ------------------------------------------------------------------ users

def user(fields):
    assert len(fields) == 23
    return b":".join(fields)


USER_LINES = [
    (user([b"alice", b"0", b"pw1", b"staff,music,video", b"1", b"1000", b"5", b"0", b"1500",
           b"0", b"3", b"4", b"t13", b"t14", b"t15", b"12,5", b"1", b"7", b"1010101x", b"t20",
           b"1", b"0", b"rest of alice"]), b"\n"),
    (user([b"bob", b"1", b"pw2", b"users", b"0", b"1", b"2", b"3", b"-1", b"1", b"0", b"0", b"",
           b"", b"", b"99999999.99", b"0", b"0", b"abc", b"", b"0", b"1", b""]), b"\r\n"),
    (user([b"carol", b"2", b"pw3", b"users", b"0", b"0", b"0", b"0", b"0", b"0", b"0", b"0",
           b"\xe9t\xe9", b"", b"", b"1234567.89", b"0", b"0", b"00000000", b"", b"0", b"0",
           b" "]), b"\n"),
    (user([b"dave", b"3", b"pw4", b"", b"x", b"-4", b"+5", b" 6", b"abc", b"", b"", b"", b"",
           b"", b"", b"-3.5", b"", b"", b"", b"", b"", b"", b"last"]), b""),
]

# Credit changes of the test: alice gets 50 MB, bob 1 MB.
USER_CHANGES = {0: b"62.50", 1: b"100000000.99"}


def with_credits(line, credits):
    fields = line.split(b":")
    fields[15] = credits
    return b":".join(fields)


def users_saved(lines, changes):
    out = b""
    for i, (text, end) in enumerate(lines):
        out += (with_credits(text, changes[i]) if i in changes else text) + end
    return out


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    write("vfs-server.txt", vfs_file(VFS_LINES))
    write("vfs-server-saved.txt", vfs_saved(VFS_LINES, []))
    write("vfs-server-added.txt", vfs_saved(VFS_LINES, [VFS_ADDED]))
    write("users-server.txt", vfs_file(USER_LINES))
    write("users-server-saved.txt", users_saved(USER_LINES, USER_CHANGES))


if __name__ == "__main__":
    main()
