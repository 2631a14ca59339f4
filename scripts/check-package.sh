#!/usr/bin/env bash
# Installs a built package into a clean Debian 12 made with debootstrap and
# starts it there from its menu entry, as an ordinary user, under Xvfb.
#   scripts/check-package.sh build-deb/morvela_4.0_amd64.deb /tmp/morvela-chroot
# Run as root. The chroot folder is made when it does not exist yet; the
# screenshot of the menu is left in it as menu.png.
set -euo pipefail
deb=$(realpath "$1")
root=$2
app=com.example.ostrel.morvela
[ -d "$root/usr" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
cp "$deb" "$root/tmp/"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    desktop-file-utils appstream xvfb xauth xdotool x11-apps
in_root desktop-file-validate /usr/share/applications/$app.desktop
in_root appstreamcli validate --no-net /usr/share/metainfo/$app.metainfo.xml
in_root id learner >/dev/null 2>&1 || in_root useradd -m learner

# The menu entry's command, as a desktop would run it.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$app.desktop")
# The dock groups the window with its entry by this class.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$app.desktop")
in_root su learner -c "cd ~ && xvfb-run -a -s '-screen 0 1280x1024x24' sh -c '
    $exec_line &
    timeout 60 xdotool search --sync --onlyvisible --name \"^Morvela Ver.4.0\$\" >/dev/null || { echo no menu window within 60 s; exit 1; }
    xdotool search --all --onlyvisible --class \"^$wm_class\$\" --name \"^Morvela Ver.4.0\$\" >/dev/null || { echo the menu window is not of class $wm_class; exit 1; }
    sleep 1
    xwd -root -silent > /tmp/menu.xwd
    kill \$!'"
ls -l "$root/home/learner/.local/share/morvela"
convert "xwd:$root/tmp/menu.xwd" "$root/menu.png" 2>/dev/null || true
echo "morvela started from its menu entry as learner; files in ~learner/.local/share/morvela"
