#!/usr/bin/env bash
# Shared set-up of ./play and ./test: installs the Debian packages the game and
# its tests need (as root; otherwise prints the one command to run), then
# configures and builds in build/, which also lays out the run folder build/run/.
# Sourced by those scripts from the project root.

QUILLORY_PACKAGES=(
  cmake g++ make pkg-config
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreetype-dev libpng-dev libsdl2-mixer-dev libx11-dev
  fonts-anonymous-pro
)
# The tests and the art generator also read faces of fonts-freefont-ttf.
QUILLORY_TEST_PACKAGES=(xvfb xdotool libgtest-dev libbenchmark-dev fonts-freefont-ttf)

quillory_missing_packages() {
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s\n' "$pkg"
    fi
  done
}

# quillory_install PACKAGE...: installs those not installed yet, or explains.
quillory_install() {
  local missing
  mapfile -t missing < <(quillory_missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Quillory needs these Debian packages: ${missing[*]}" >&2
    echo "Install them with this command, then run this script again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null || return 1
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# quillory_build: configures build/ on first use and builds everything; the
# compiler's output is shown only when the build fails.
quillory_build() {
  local log status=0
  log=$(mktemp)
  echo "Building Quillory in build/ ..." >&2
  if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 || status=1
  fi
  if [ "$status" -eq 0 ]; then
    cmake --build build -j "$(nproc)" >"$log" 2>&1 || status=1
  fi
  [ "$status" -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  return "$status"
}
