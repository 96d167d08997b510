#!/usr/bin/env bash
# Installs whatever the build and the tests need that this Debian 12 machine lacks.
# Run as root it installs; run as a normal user it prints the apt-get line to run.
set -euo pipefail

PACKAGES=(
  # build
  g++ cmake make pkg-config python3
  libsdl1.2-dev libvorbis-dev zlib1g-dev libgl-dev
  # tests: GoogleTest, the PNG reference decoder, the sanitizer/fuzzer compiler, a virtual display
  libgtest-dev libpng-dev clang libclang-rt-dev
  xvfb xauth xdotool x11-utils libx11-dev libgl1-mesa-dri
  # the played-through program test: screenshots and the recorded sound; the
  # Wayland client library that SDL 2 of its sdl12-compat lane links to
  imagemagick sox libwayland-client0
  # the installed tree: desktop entry, metainfo and manual page checks
  desktop-file-utils appstream man-db
  # the browser build (Emscripten, and dpkg-source for the libraries it builds from
  # Debian's sources) and its test in headless chromium (puppeteer-core from npm drives it)
  emscripten dpkg-dev chromium
)
# npm comes with Debian's nodejs through the npm package, or with a node from elsewhere.
command -v npm >/dev/null || PACKAGES+=(npm)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "These packages are missing; install them as root and run this again:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
