#!/usr/bin/env bash
# Makes the MP3 fixtures of the media tests with independent tools: lame for
# the audio, id3v2 for most ID3v1 tags, and a little Python for the WAV input,
# a tag with a 30-character comment, and the Layer I and Layer II streams that
# lame cannot write. The results are committed, so the tests never depend on
# an encoder's version; run this again only to change the set.
#
# Needs: python3, lame, id3v2 (Debian: apt-get install -y lame id3v2).
set -euo pipefail
cd "$(dirname "$0")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A short 440 Hz tone as 16-bit PCM WAV: wav RATE CHANNELS SECONDS OUT
wav() {
  python3 - "$@" <<'EOF'
import math, random, struct, sys, wave
rate, channels, seconds, out = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
frames = int(rate * seconds)
with wave.open(out, "wb") as w:
    w.setnchannels(channels)
    w.setsampwidth(2)
    w.setframerate(rate)
    data = bytearray()
    # Tone plus some fixed noise, so a variable bitrate really varies.
    rng = random.Random(rate * channels)
    for i in range(frames):
        v = int(6000 * math.sin(2 * math.pi * 440 * i / rate) * (i % 2000) / 2000)
        v += rng.randint(-3000, 3000) if (i // 1500) % 2 else 0
        # The second channel differs, so stereo modes have something to code.
        data += struct.pack("<h", v)
        if channels == 2:
            data += struct.pack("<h", v // 2)
    w.writeframes(bytes(data))
EOF
}

# encode NAME RATE CHANNELS SECONDS LAME-OPTIONS...
encode() {
  local name=$1 rate=$2 channels=$3 seconds=$4
  shift 4
  wav "$rate" "$channels" "$seconds" "$work/$name.wav"
  lame --quiet --noreplaygain --resample "$rate" "$@" "$work/$name.wav" "$name.mp3"
}

# An ID3v1 tag written byte by byte, appended: tag FILE TITLE ARTIST ALBUM
# YEAR COMMENT GENRE [TRACK]. Without TRACK the comment takes all 30 bytes.
tag() {
  python3 - "$@" <<'EOF'
import sys
path, title, artist, album, year, comment, genre = sys.argv[1:8]
track = sys.argv[8] if len(sys.argv) > 8 else None
def field(text, n, pad=b"\0"):
    b = text.encode("latin-1")[:n]
    return b + pad * (n - len(b))
block = b"TAG" + field(title, 30) + field(artist, 30, b" ") + field(album, 30)
block += field(year, 4)
if track is None:
    block += field(comment, 30)
else:
    block += field(comment, 28) + b"\0" + bytes([int(track)])
block += bytes([int(genre)])
assert len(block) == 128
with open(path, "ab") as f:
    f.write(block)
EOF
}

# Frames of zero audio data behind one header, as many as fit SIZE bytes:
# frames FILE HEADER-HEX FRAME-BYTES COUNT
frames() {
  python3 - "$@" <<'EOF'
import sys
path, header, size, count = sys.argv[1], bytes.fromhex(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
with open(path, "wb") as f:
    for _ in range(count):
        f.write(header + bytes(size - 4))
EOF
}

rm -f ./*.mp3

# MPEG 1 Layer III, constant bitrate ("Info" frame), joint stereo, ID3v1.1.
encode mpeg1_cbr_joint 44100 2 0.3 -b 128 -m j
id3v2 -1 -t "Fixture Tone" -a "Test Artist" -A "Fixture Album" -y 1999 \
  -c "made by lame" -g 17 -T 7 mpeg1_cbr_joint.mp3

# MPEG 1, stereo, 48 kHz; ID3v1.0 with a 30-character title and comment,
# NUL and blank padding, genre 147.
encode mpeg1_cbr_stereo 48000 2 0.25 -b 160 -m s
tag mpeg1_cbr_stereo.mp3 "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123" "Padded Artist" "Album" \
  "2001" "a comment of thirty characters" 147

# MPEG 1 variable bitrate (a Xing block), mono, 32 kHz; a slash in the
# artist and genre 62 ("Pop/Funk").
encode mpeg1_vbr_mono 32000 1 0.6 -V 5 -m m
id3v2 -1 -a "AC/DC" -A "Back In Black" -y 1980 -c "vbr" -g 62 -T 1 mpeg1_vbr_mono.mp3

# MPEG 1 with an ID3v2 block in front of the first frame.
encode mpeg1_id3v2 44100 1 0.3 -b 64 -m m
id3v2 -a "Front Tagged" -A "Both Tags" -t "Song" -y 2004 -g 8 -T 2 mpeg1_id3v2.mp3

# MPEG 1 without any tag.
encode mpeg1_notag 44100 2 0.2 -b 96 -m s

# MPEG 2 Layer III, constant bitrate, mono, 22.05 kHz.
encode mpeg2_cbr_mono 22050 1 0.4 -b 32 -m m
id3v2 -1 -a "Second" -A "Version Two" -y 2010 -c "mpeg 2" -g 52 -T 3 mpeg2_cbr_mono.mp3

# MPEG 2 variable bitrate, joint stereo, 24 kHz.
encode mpeg2_vbr_joint 24000 2 0.6 -V 4 -m j
id3v2 -1 -a "VBR Two" -A "Joint" -y 2011 -c "xing" -g 31 -T 4 mpeg2_vbr_joint.mp3

# MPEG 2 dual channel, 16 kHz.
encode mpeg2_cbr_dual 16000 2 0.4 -b 48 -m d
tag mpeg2_cbr_dual.mp3 "Dual" "Two Voices" "Channels" "1975" "dual channel" 255

# MPEG 2.5 constant bitrate, stereo, 11.025 kHz.
encode mpeg25_cbr_stereo 11025 2 0.5 -b 24 -m s
id3v2 -1 -a "Low Rate" -A "Two Point Five" -y 1995 -c "eleven k" -g 0 -T 5 mpeg25_cbr_stereo.mp3

# MPEG 2.5 constant bitrate, mono, 12 kHz.
encode mpeg25_cbr_12k 12000 1 0.5 -b 16 -m m
tag mpeg25_cbr_12k.mp3 "Twelve" "Rate Twelve" "Album 12" "0000" "" 12 9

# MPEG 2.5 variable bitrate, mono, 8 kHz, no tag.
encode mpeg25_vbr_mono 8000 1 1.0 -V 6 -m m

# MPEG 1 Layer II, 48 kHz, 192 kbps, stereo: 576 bytes a frame.
frames layer2.mp3 FFFDA404 576 8
tag layer2.mp3 "Layer Two" "Layer Artist" "Layer Album" "1992" "layer two" 32 2

# MPEG 1 Layer I, 44.1 kHz, 384 kbps, joint stereo: 4 x (12 x 384000 / 44100)
# rounded down = 416 bytes a frame.
frames layer1.mp3 FFFFC060 416 8
tag layer1.mp3 "Layer One" "Layer Artist" "Layer Album" "1991" "layer one" 33

ls -l ./*.mp3
