# What the build, the tests and the demo need from Debian 12.
BUILD_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev zlib1g-dev qt6-base-dev)
TEST_PACKAGES=(libgtest-dev libgmock-dev cksfv mp3info faketime lame id3v2)
DEMO_PACKAGES=(cksfv)

# Installs the packages that are missing, when we may (root with apt-get).
install_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
    echo "missing packages: ${missing[*]} (install them, or run as root)" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
