#!/bin/bash
# Black-box probe of the built program: hostile files, folders, signals and
# environments, and SIGKILL at random moments of its saves, each on the real
# binary in a fresh copy of the program folder under /tmp/probe-*, on a
# private X server. Prints a table of cases and a summary (cases tried,
# faults, kills survived); exits 1 when any case found a fault.
#
# Usage (as root; some cases run the program as user 65534):
#   bench/probe/run.sh build/bin [--kills N] [--bench-kills N] [--only TEXT] [--keep]
# save_kill_bench (the in-process kill loop) is built if the build folder
# beside build/bin can build it.
set -uo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BIN=${1:?usage: run.sh BUILD/bin [options]}
shift
BIN=$(cd "$BIN" && pwd) || exit 2

for tool in xvfb-run Xvfb dbus-run-session dbus-send xdotool import setpriv /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "probe: $tool missing (xvfb xauth dbus xdotool imagemagick at-spi2-core)" >&2; exit 2; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "probe: python3-pyatspi missing" >&2; exit 2; }

BUILD=$(dirname "$BIN")
if [[ -f $BUILD/build.ninja || -f $BUILD/Makefile ]]; then
    cmake --build "$BUILD" --target save_kill_bench >/dev/null 2>&1 ||
        echo "probe: could not build save_kill_bench; the in-process kill rows are left out" >&2
fi

# The probe's modules leave no byte code in the source tree.
export PYTHONDONTWRITEBYTECODE=1
# -ac: the cases run as user 65534 cannot read root's X authority file.
# -noreset: between two cases no client is connected, and a server that
# resets then refuses the next start for a moment.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -ac -noreset" \
    /usr/bin/python3 "$HERE/probe.py" "$BIN" "$@"
