#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # headless windows, screenshots, fonts
  xvfb xauth x11-apps x11-utils xdotool imagemagick
  # the fonts that stand in for the design's (app/FontSubstitutes.h)
  fonts-liberation fonts-dejavu-core fonts-dejavu-extra fonts-quicksand
  # dBase peers used by the tests and benchmarks
  python3 python3-dbf python3-dbfread libdbd-xbase-perl shapelib libshp-dev
  fp-compiler fp-units-db
  # fuzzing and packaging
  clang libclang-rt-14-dev dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
