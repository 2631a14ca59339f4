#!/usr/bin/env bash
# Installs what Morvela needs to build, run and test on Debian 12, and any
# further packages named on the command line.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libpulse-dev libgl-dev libxcb1-dev fonts-noto-cjk xvfb xauth x11-utils xdotool imagemagick clang libclang-rt-14-dev
          dbus at-spi2-core python3-pyatspi ibus ibus-mozc fcitx5 fcitx5-mozc fcitx5-frontend-qt6 util-linux
          desktop-file-utils appstream "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
