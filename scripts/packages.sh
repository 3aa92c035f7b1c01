# What the build, the tests and the demo need from Debian 12.
BUILD_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev zlib1g-dev qt6-base-dev)
TEST_PACKAGES=(libgtest-dev libgmock-dev cksfv mp3info faketime lame id3v2 clang-format)
DEMO_PACKAGES=(cksfv)

# How long a package run waits for another one (an install by another build,
# the system's own updates) to let go of the package manager's locks.
APT_LOCK_WAIT=${APT_LOCK_WAIT:-600}

# The package is installed ("wine32:i386" names another architecture's).
package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"
}

# apt-get that waits for the locks instead of failing at once. dpkg's locks
# have apt's own timeout; the lists lock of "update" and the archives' lock
# have none, so a run that failed on a lock is tried again until the wait is
# used up. Any other failure ends it at once.
apt_get() {
  local deadline=$((SECONDS + APT_LOCK_WAIT)) errors rc told=0
  errors=$(mktemp)
  while :; do
    rc=0
    apt-get -o DPkg::Lock::Timeout="$APT_LOCK_WAIT" "$@" 2>"$errors" || rc=$?
    if [ "$rc" -ne 0 ] && [ "$SECONDS" -lt "$deadline" ] &&
        grep -qiE 'could not get lock|unable to lock|unable to acquire' "$errors"; then
      if [ "$told" = 0 ]; then
        echo "apt-get $*: another package run holds a lock; waiting up to" \
             "$APT_LOCK_WAIT s" >&2
        told=1
      fi
      sleep 5
      continue
    fi
    cat "$errors" >&2
    rm -f "$errors"
    return "$rc"
  done
}

# Installs the packages that are missing, when we may (root with apt-get).
install_packages() {
  local missing=() p
  for p in "$@"; do
    package_installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
    echo "missing packages: ${missing[*]} (install them, or run as root)" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A list that cannot be fetched now (a mirror that is syncing) leaves the
  # older one, which may still hold what is missing.
  apt_get update -qq || echo "apt-get update failed; installing from the lists there are" >&2
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
}
