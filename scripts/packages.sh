# Shared by the scripts beside it: installs what a fresh Debian 12
# machine lacks. Sourced, not run.

tessivar_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev
  srecord binutils libbenchmark-dev clang hyperfine socat
  libclang-rt-14-dev python3 help2man man-db
)

# What the Windows build and its tests under Wine add.
tessivar_windows_packages=(g++-mingw-w64-x86-64-posix wine wine64 nsis imagemagick xvfb
  librsvg2-bin xauth xdotool fonts-dejavu-core)

# What the Debian package's build and check add.
tessivar_package_packages=(dpkg-dev lintian)

# Each argument adds a group: "windows" or "package".
tessivar_install_missing() {
  local wanted=("${tessivar_packages[@]}")
  local group
  for group in "$@"; do
    case "$group" in
      windows) wanted+=("${tessivar_windows_packages[@]}") ;;
      package) wanted+=("${tessivar_package_packages[@]}") ;;
    esac
  done
  local missing=()
  local pkg
  for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}
