#!/usr/bin/env bash
# The Windows programs end to end, against the POSIX build. One scenario of
# server events is played by the server stand-in twice: on a site of the
# POSIX programs, and on a site of the Windows programs under Wine, whose
# settings and server files hold Windows paths and whose hooks start with the
# server's command line byte for byte (ftpd-standin init --wine). Both run at
# one frozen local time: libfaketime reaches Wine's programs as it reaches
# ours. After every event the site is copied aside. Then each event's report
# (every hook's exit, every reply as the stand-in shows it, and the reply's
# own bytes) and, after each event, every file and folder of the site's
# releases (markers, racer.sav, .message, playlists), of the data folder but
# the settings (the memo, stores and lists), the server's vfs and user files
# and the lines chmod logged must be the same on both sites, apart from the
# site's own folder, the path separator and CR LF for LF.
#
# usage: tests/wine_e2e.sh POSIX-BIN WINDOWS-BIN WORK
#   POSIX-BIN    ftpd-standin, the programs and chmod of a POSIX build
#   WINDOWS-BIN  the programs, chmod.exe and win32_helper.exe of a Windows
#                build
#   WORK         a folder for the two sites and their copies (emptied first)
# Wine is set up by the caller: its "wine" on the PATH and a WINEPREFIX
# whose server runs. Ends with 0 when both sites agree; 1 with each
# difference told; 2 when the scenario could not be played.
set -eEuo pipefail
# Whatever fails on the way is no difference between the builds.
trap 'echo "wine e2e: line $LINENO failed" >&2; exit 2' ERR

[ $# -eq 3 ] || { sed -n '16,23p' "$0" >&2; exit 2; }
posix_bin=$(cd "$1" && pwd)
windows_bin=$(cd "$2" && pwd)
rm -rf "$3"
mkdir -p "$3"
work=$(cd "$3" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
standin=$posix_bin/ftpd-standin
wine=$(command -v wine) || { echo "wine e2e: no wine on the PATH" >&2; exit 2; }
rel=/Long_Day-2024

fail() { echo "wine e2e: $*" >&2; exit 2; }

# A Monday, the first of a month and far from midnight: every allotment is
# due, and no run crosses a day. ld.so expands $LIB to the library folder of
# the process's own width, so a 32-bit Wine takes the i386 libfaketime.
export TZ=UTC FAKETIME="2024-04-01 12:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1
# shellcheck disable=SC2016
preload='/usr/$LIB/faketime/libfaketime.so.1'

# The release: three MP3 files and their SFV, a damaged copy of the second.
local_dir=$work/local
mkdir -p "$local_dir/damaged"
cp "$source_dir/media/testdata/mpeg1_cbr_joint.mp3" "$local_dir/01-Dawn.mp3"
cp "$source_dir/media/testdata/mpeg1_cbr_stereo.mp3" "$local_dir/02-First_Light.mp3"
cp "$source_dir/media/testdata/mpeg1_vbr_mono.mp3" "$local_dir/03-Long_Day.mp3"
(cd "$local_dir" && cksfv -q -b 01-Dawn.mp3 02-First_Light.mp3 03-Long_Day.mp3 >00-long_day.sfv)
cp "$local_dir/02-First_Light.mp3" "$local_dir/damaged/"
printf 'BAD!' | dd of="$local_dir/damaged/02-First_Light.mp3" bs=1 seek=3000 conv=notrunc \
  status=none

# Copies what the site holds now into the event's folder; chmod's log and
# the kept replies move there, so each event shows only its own.
snapshot() {  # EVENT-FOLDER
  local to=$1/site
  mkdir -p "$to"
  cp -a "$site/root" "$to/root"
  cp -a "$site/install/data" "$to/data"
  # The settings are the stand-in's writing, not the programs' (and the day
  # folder's template holds each platform's separator).
  rm -f "$to"/data/*.bcc "$to"/data/*.bcm "$to"/data/*.idx "$to"/data/*.cfg
  cp -a "$site/server/raidenftpd.vfs" "$site/server/raidenftpd.usr" "$to/"
  if [ -f "$site/install/chmod.log" ]; then mv "$site/install/chmod.log" "$to/chmod.log"; fi
  mv "$site/server/kept-replies" "$1/replies"
  mkdir "$site/server/kept-replies"
  # A reply the stand-in did not take away (it reads only the names it
  # expects) is a reply under a wrong name.
  ls -A "$site/server/output" >"$1/replies-left"
}

next_event() {  # NAME: the new event's folder in $event
  count=$((count + 1))
  event=$(printf '%s/%s/%02d-%s' "$work" "$side" "$count" "$1")
  mkdir -p "$event"
}

# One request of the server: "on NAME COMMAND ARGS..." runs the stand-in's
# COMMAND on the site.
on() {  # NAME COMMAND ARGUMENTS...
  next_event "$1"
  local command=$2 rc=0
  shift 2
  LD_PRELOAD=$preload "$standin" "$command" "$site" "$@" >"$event/report" 2>&1 || rc=$?
  echo "ftpd-standin $command: exit $rc" >>"$event/report"
  snapshot "$event"
}

# A periodic program, started as the server's scheduler would: its own path
# is its whole command line.
periodic() {  # PROGRAM
  next_event "$1"
  local rc=0 line
  if [ "$side" = wine ]; then
    line='Z:'${site//\//\\}'\install\'$1.exe
    printf '%s\n%s\n' "$line" "$line" >"$site/server/periodic-command"
    LD_PRELOAD=$preload "$wine" "$windows_bin/win32_helper.exe" server \
      'Z:'${site//\//\\}'\server\periodic-command' </dev/null >/dev/null 2>&1 || rc=$?
    rm -f "$site/server/periodic-command"
  else
    LD_PRELOAD=$preload "$site/install/$1" </dev/null >/dev/null 2>&1 || rc=$?
  fi
  echo "$1: exit $rc" >"$event/report"
  snapshot "$event"
}

play() {  # SIDE: linux or wine
  side=$1
  site=$work/$side/site
  count=0
  mkdir -p "$work/$side"
  if [ "$side" = wine ]; then
    "$standin" init "$site" --programs "$windows_bin" --wine "$wine" \
      --launcher "$windows_bin/win32_helper.exe" >"$work/$side/init" ||
      fail "ftpd-standin init of the Wine site failed"
  else
    "$standin" init "$site" --programs "$posix_bin" >"$work/$side/init" ||
      fail "ftpd-standin init of the POSIX site failed"
  fi
  mkdir "$site/server/kept-replies" "$site/root/daily"
  # The day folder's name has a level for the year; its separator is the
  # platform's, as an administrator types it.
  local year_level='%Y/%o%d'
  if [ "$side" = wine ]; then year_level='%Y\%o%d'; fi
  "$standin" set "$site" sfv_force=1 m3u_create=1 cinfo=1 nd_en=1 nd_today=1 nd_yesterday=1 \
    "nd_format=$year_level" nd_path=/daily nd_todaylink=/today nd_yesterdaylink=/yesterday \
    allot=alice:daily:add:100 allot=bob:weekly:fill:1000 allot=carol:monthly:add:50 \
    >/dev/null || fail "ftpd-standin set failed on the $side site"

  on mkdir-release mkdir "$rel" --user alice --group Couriers
  on refused-before-sfv upload "$local_dir/01-Dawn.mp3" "$rel" --user alice --group Couriers \
    --speed 790.25
  on sfv upload "$local_dir/00-long_day.sfv" "$rel" --user alice --group Couriers --speed 812.50
  on first-track upload "$local_dir/01-Dawn.mp3" "$rel" --user alice --group Couriers \
    --speed 790.25
  on failed-check upload "$local_dir/damaged/02-First_Light.mp3" "$rel" --user bob \
    --group Racers --speed 1024.00
  on second-track upload "$local_dir/02-First_Light.mp3" "$rel" --user bob --group Racers \
    --speed 1024.00
  # The SFV lists 03-Long_Day.mp3; the file arrives in lower case and
  # completes the release.
  on other-case-completes upload "$local_dir/03-Long_Day.mp3" "$rel" --user bob --group Racers \
    --speed 998.75 --name 03-long_day.mp3
  on site-message site / "message Long Day is complete" --user alice --group Couriers
  on site-request site / "request Short_Night-2025" --user bob --group Racers
  on site-fill site / "fillrequest 1" --user alice --group Couriers
  on site-board site / "board" --user bob --group Racers
  on site-new site / "new" --user bob --group Racers
  on site-rescan site "$rel" "rescan" --user bob --group Racers
  on delete delete "$rel/02-First_Light.mp3" --user bob --group Racers
  periodic dawnroll
  periodic creditdole
  periodic creditdole
}

play linux
play wine

# Both copies as they compare: each site's own folder (its POSIX path, and
# on the Wine site its Windows path) becomes "<site>", the separators of the
# path after it become '/', and in texts CR LF becomes LF (so CR CR LF stays
# apart from LF). The stored files keep each text behind its 4-byte length;
# a text that begins with the site's folder is rewritten with its length.
normalise() {  # SIDE
  local posix=$work/$1/site windows=''
  [ "$1" = wine ] && windows='Z:'${posix//\//\\}
  find "$work/$1" -mindepth 2 -path "$work/$1/[0-9]*" -type f -print0 | xargs -0 -r perl -e '
    my ($posix, $windows) = (shift, shift);
    my $prefix = $windows eq "" ? quotemeta($posix) : quotemeta($posix) . "|" . quotemeta($windows);
    for my $file (@ARGV) {
      open(my $in, "<:raw", $file) or die "$file: $!";
      my $bytes = do { local $/; <$in> };
      close $in;
      my $out = $bytes;
      if ($file =~ /\.(sav|ndl|mp3|bad)$/i) {
        $out = "";
        my $at = 0;
        while ($bytes =~ /$prefix/g) {
          my $start = $-[0];
          next if $start < $at + 4;
          my $length = unpack("V", substr($bytes, $start - 4, 4));
          next if $length < $+[0] - $start || $start + $length > length $bytes;
          my $text = substr($bytes, $start, $length);
          $text =~ s/^(?:$prefix)/<site>/;
          $text =~ tr{\\}{/};
          $out .= substr($bytes, $at, $start - 4 - $at) . pack("V", length $text) . $text;
          $at = $start + $length;
          pos($bytes) = $at;
        }
        $out .= substr($bytes, $at);
      } else {
        $out =~ s{(?:$prefix)([^|\s"\x00-\x1f]*)}{ my $rest = $1; $rest =~ tr(\\)(/); "<site>$rest" }ge;
        $out =~ s/\r\n/\n/g;
      }
      next if $out eq $bytes;
      open(my $put, ">:raw", $file) or die "$file: $!";
      print $put $out;
      close $put or die "$file: $!";
    }' "$posix" "$windows"
}
normalise linux
normalise wine

# The scenario played as meant on the POSIX site: every hook ran and ended
# well, the check failed once, the release was completed, the periodic
# programs did their work once.
expect() {  # EVENT TEXT
  grep -qF -- "$2" "$work"/linux/*-"$1"/report ||
    fail "the scenario went astray on the POSIX site: the event $1 does not show \"$2\""
}
expect mkdir-release "foldbirth: exit 0"
expect refused-before-sfv "refused: nothing stored"
expect sfv "landfall: exit 0"
expect first-track "tallyglad: exit 0"
expect failed-check "tallysour: exit 0"
expect other-case-completes "tallyfull: exit 0"
expect other-case-completes "release complete"
expect site-fill "quipgate: exit 0"
expect delete "sweepguard: exit 0"
expect dawnroll "dawnroll: exit 0"
# The frozen clock reached both builds: the day of the allotment is its day.
for side in linux wine; do
  [ "$(od -An -tx1 "$work/$side/17-creditdole/site/data/lastallot.sav" | tr -d ' \n')" = \
    010104e8070000 ] ||
    fail "the frozen clock did not reach the programs on the $side site (libfaketime of" \
         "the programs' width missing?)"
done
grep -qx "creditdole: exit 0" "$work"/linux/16-creditdole/report &&
  grep -qx "creditdole: exit 1" "$work"/linux/17-creditdole/report ||
  fail "the scenario went astray on the POSIX site: creditdole did not allot exactly once"

# Each thing that differs, with the first event after which it does and the
# difference there; later events are only counted.
differences=0
declare -A seen
shown() {  # FILE: its lines with CR and other control bytes visible
  if [ -f "$1" ]; then LC_ALL=C cat -A "$1"; else echo "(not there)"; fi
}
# The paths, relative to an event's copies, in which the two differ.
differing() {  # EVENT
  local l=$work/linux/$1 w=$work/wine/$1 line rest
  { diff -rq "$l" "$w" || true; } | while IFS= read -r line; do  # 1: they differ
    case $line in
      "Files $l/"*) rest=${line#"Files $l/"} && echo "${rest%% and "$w/"*}" ;;
      "File $l/"*) rest=${line#"File $l/"} && echo "${rest%% is a *}" ;;
      "Only in $l: "*) echo "${line#"Only in $l: "}" ;;
      "Only in $w: "*) echo "${line#"Only in $w: "}" ;;
      "Only in $l/"*) rest=${line#"Only in $l/"} && echo "${rest%%: *}/${rest#*: }" ;;
      "Only in $w/"*) rest=${line#"Only in $w/"} && echo "${rest%%: *}/${rest#*: }" ;;
      *) fail "diff said: $line" ;;
    esac
  done
}
while IFS= read -r event; do
  while IFS= read -r item; do
    [ -n "$item" ] || continue
    linux=$work/linux/$event/$item wine=$work/wine/$event/$item
    key=${item#replies/[0-9]*-}
    differences=$((differences + 1))
    if [ -n "${seen[$key]:-}" ]; then
      seen[$key]="${seen[$key]} $event"
      continue
    fi
    seen[$key]=$event
    if [ ! -e "$wine" ]; then
      echo "after $event: $item is there on the POSIX site only"
    elif [ ! -e "$linux" ]; then
      echo "after $event: $item is there on the Wine site only"
    elif [ -d "$linux" ] || [ -d "$wine" ]; then
      echo "after $event: $item is a folder on one site and a file on the other"
    else
      echo "after $event: $item differs (POSIX ---, Wine +++; ^M is a CR):"
      diff -u --label POSIX --label Wine <(shown "$linux") <(shown "$wine") |
        sed -n '3,40p' | sed 's/^/    /' || true  # diff ends with 1: they differ
    fi
  done < <(differing "$event")
done < <(cd "$work/linux" && find . -mindepth 1 -maxdepth 1 -type d -name '[0-9]*' |
  sed 's|^\./||' | sort)
for key in "${!seen[@]}"; do
  read -ra events <<<"${seen[$key]}"
  if [ ${#events[@]} -gt 1 ]; then echo "($key differs also after ${events[*]:1})"; fi
done | sort
if [ "$differences" -gt 0 ]; then
  echo "wine e2e: the Windows programs under Wine wrote other results than the POSIX build" \
       "($differences differences; both sites are in $work)" >&2
  exit 1
fi
echo "wine e2e: $count events, the same results from both builds"
