#!/usr/bin/env bash
# Shared by ./run and ./test: installs the Debian packages that are missing,
# then configures and builds LakeDrift (the "release" preset) in build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${LAKEDRIFT_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  libeigen3-dev libcgal-dev libgmp-dev libmpfr-dev
  libnetcdf-dev netcdf-bin libproj-dev fonts-liberation gstreamer1.0-plugins-good
  xvfb xdotool x11-utils imagemagick
  clang libclang-rt-14-dev
  librandom123-dev libomp-dev libcli11-dev libgif-dev
)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "$p"
    fi
  done
}

install_missing() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing missing packages:" $missing
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
}

build() {
  (cd "$ROOT" && cmake --preset release -B "$BUILD_DIR" "$@")
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

install_missing
build "$@"
