#!/usr/bin/env bash
# Stress run of the upload cycle through the server stand-in:
#   1. sixteen uploaders at once into one release;
#   2. two releases completing at the same moment, with the move on, for a
#      number of rounds (each round two fresh releases);
#   3. sixteen uploaders again while hooks are killed at random.
# Then every race file and the memo must decode and every count must hold.
#
#   tests/stress/stress.sh BIN_DIR FIXTURE_DIR [FILES_PER_UPLOADER [ROUNDS]]
#
# BIN_DIR holds the built programs (ftpd-standin, chmod, the hooks and
# stress_check); FIXTURE_DIR the MP3 fixtures (media/testdata). CI runs it
# with 3 files per uploader and one round of stage 2; by hand, try 50 (and
# then five rounds, one per ten files, unless ROUNDS says otherwise).
set -euo pipefail

bin=$(cd "$1" && pwd)
fixtures=$(cd "$2" && pwd)
per=${3:-20}
rounds=${4:-$(((per + 9) / 10))}
uploaders=16
total=$((uploaders * per))

work=$(mktemp -d "${TMPDIR:-/tmp}/brindle-stress-XXXXXX")
trap 'rm -rf "$work"' EXIT
site=$work/site
local=$work/local
mkdir -p "$local"
standin() { "$bin/ftpd-standin" "$@"; }
fail() {
  echo "stress: $*" >&2
  exit 1
}

standin init "$site" --programs "$bin" >/dev/null
root=$(standin path "$site" /)
data=$site/install/data

mp3s=("$fixtures"/mpeg1_*.mp3)
# A release of `count` tracks named after `tag`, with an SFV that lists one
# more track that never comes, so the race stays open and racer.sav stays.
make_release() {
  local tag=$1 count=$2 open=$3
  mkdir -p "$local/$tag"
  for ((i = 0; i < count; i++)); do
    cp "${mp3s[$((i % ${#mp3s[@]}))]}" "$local/$tag/$(printf '%04d' "$i")-$tag.mp3"
  done
  (cd "$local/$tag" && cksfv -q -- *.mp3 >"$tag.sfv" 2>/dev/null || true)
  [ -s "$local/$tag/$tag.sfv" ] || fail "cksfv made no SFV"
  if [ "$open" = 1 ]; then
    echo "9999-never-$tag.mp3 00000000" >>"$local/$tag/$tag.sfv"
  fi
  standin mkdir "$site" "/$tag" --user u0 --group g0 >/dev/null
  standin upload "$site" "$local/$tag/$tag.sfv" "/$tag" --user u0 --group g0 >/dev/null
}

# `uploaders` uploaders at once; uploader u takes every track whose number
# modulo the uploaders is u.
race() {
  local tag=$1 count=$2 crowd=$3 pids=() u
  for ((u = 0; u < crowd; u++)); do
    (
      for ((i = u; i < count; i += crowd)); do
        standin upload "$site" "$local/$tag/$(printf '%04d' "$i")-$tag.mp3" "/$tag" \
          --user "u$u" --group "g$((u % 3))" >/dev/null || true
      done
    ) &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
}

# The checker's line of a folder: "counted=N mp3=M ...".
check_line() {
  "$bin/stress_check" "$root" "$data" | grep -F "$1 " || true
}
field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$2"; }

echo "stress: 1. $uploaders uploaders, $total tracks into one release"
make_release One "$total" 1
race One "$total" "$uploaders"
"$bin/stress_check" "$root" "$data" >/dev/null || fail "a file does not decode after the race"
line=$(check_line "$root/One")
[ "$(field counted "$line")" = "$total" ] || fail "the race counts '$line', not $total"
[ "$(field mp3 "$line")" = "$total" ] || fail "the release holds '$line', not $total tracks"

echo "stress: 2. two releases completing together, moved when complete, $rounds rounds"
standin set "$site" move_en=1 move_dir=/done >/dev/null
mkdir -p "$root/done"
for ((round = 1; round <= rounds; round++)); do
  make_release "Two$round" 8 0
  make_release "Three$round" 8 0
  race "Two$round" 8 8 &
  race "Three$round" 8 8 &
  wait
  for tag in "Two$round" "Three$round"; do
    [ ! -e "$root/$tag" ] || fail "release $tag was not moved"
    [ -d "$root/done/$tag" ] || fail "release $tag is not at the move target"
    [ ! -e "$root/done/$tag/racer.sav" ] || fail "release $tag kept its race file"
    [ -s "$root/done/$tag/.message" ] || fail "release $tag lost its .message"
  done
done
standin set "$site" move_en=0 >/dev/null

echo "stress: 3. $uploaders uploaders while hooks are killed at random"
make_release Four "$total" 1
race Four "$total" "$uploaders" &
racing=$!
killed=0
while kill -0 "$racing" 2>/dev/null; do
  for proc in /proc/[0-9]*; do
    comm=
    { read -r comm <"$proc/comm"; } 2>/dev/null || true
    case $comm in
      landfall | tallyglad | tallyfull)
        # Only this run's hooks: they work in this site's data folder.
        # Hooks of other runs on the machine are none of ours.
        [ "$proc/cwd" -ef "$data" ] || continue
        if ((RANDOM % 2 == 0)); then
          kill -9 "${proc#/proc/}" 2>/dev/null && killed=$((killed + 1)) || true
        fi
        ;;
    esac
  done
done
wait "$racing" || true
"$bin/stress_check" "$root" "$data" >/dev/null || fail "a file does not decode after the kills"
line=$(check_line "$root/Four")
counted=$(field counted "$line")
[ -n "$counted" ] && [ "$counted" -le "$total" ] || fail "the race counts '$line'"
[ "$(field mp3 "$line")" = "$total" ] || fail "the release holds '$line', not $total tracks"
echo "stress: $killed hooks killed; the race counts $counted of $total tracks"
echo "stress: every file decodes and every count holds"
