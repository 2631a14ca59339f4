#!/usr/bin/env bash
# Installs what Morvela needs on Debian 12, and any further packages named
# on the command line:
#   scripts/install-deps.sh [PACKAGE...]         to build and run the program
#   scripts/install-deps.sh --test [PACKAGE...]  and to run every test
set -euo pipefail
# Building and running: the compiler, Qt (with Qt SQL's SQLite driver for the
# learner's history, and Qt Charts for its record window), the sound
# server's client library (the click player) and a Japanese font.
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6sql6-sqlite qt6-charts-dev qt6-multimedia-dev libpulse-dev
          libgl-dev fonts-noto-cjk)
if [[ ${1-} == --test ]]; then
    shift
    # The tests and benchmarks: a private X server and its tools, clang for
    # the fuzz targets, the end-to-end desktops (D-Bus, the accessibility
    # bus, ibus and fcitx5 with Mozc; on Wayland a headless sway, Qt's
    # Wayland plugin, wtype for keys, wayvnc for the pointer, grim for
    # screenshots) and the packaging's validators.
    packages+=(libxcb1-dev xvfb xauth x11-utils xdotool imagemagick clang libclang-rt-14-dev
               dbus at-spi2-core python3-pyatspi ibus ibus-mozc fcitx5 fcitx5-mozc fcitx5-frontend-qt6 util-linux
               sway qt6-wayland wtype wayvnc grim
               desktop-file-utils appstream)
fi
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
