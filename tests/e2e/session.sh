#!/bin/bash
# Runs one command inside a private, throw-away desktop: a display (Xvfb, or
# a headless sway for native Wayland clients), a D-Bus session bus, the
# accessibility bus and an input method (ibus or fcitx5, each with Mozc), all
# in a temporary HOME, then stops what it started.
#
# Usage: session.sh --ime ibus|fcitx5 [--display x11|wayland] [--timeout SECS] -- COMMAND [ARGS...]
# Exit status: COMMAND's; 2 when the desktop could not be set up (the message
# names the part and its log); 124 when COMMAND ran out of time.
set -uo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Mozc refuses to run as root and each framework serves only its own user:
# as root, run the whole session in a user namespace as an unprivileged uid.
if ((EUID == 0)) && [[ -z "${MORVELA_E2E_USERNS:-}" ]]; then
    export MORVELA_E2E_USERNS=1
    unshare --user --map-user=65534 --map-group=65534 true 2>/dev/null || {
        echo "[session] ERROR: running as root and 'unshare --user' is refused here; Mozc will not run as root" >&2
        exit 2; }
    exec unshare --user --map-user=65534 --map-group=65534 -- "$0" "$@"
fi

IME="" DISPLAY_KIND=x11 TIMEOUT=600
while (($#)); do
    case "$1" in
        --ime) IME=${2:-}; shift 2 ;;
        --display) DISPLAY_KIND=${2:-}; shift 2 ;;
        --timeout) TIMEOUT=${2:-}; shift 2 ;;
        --) shift; break ;;
        *) echo "[session] unknown option $1" >&2; exit 2 ;;
    esac
done
[[ $IME == ibus || $IME == fcitx5 ]] || { echo "[session] --ime must be ibus or fcitx5" >&2; exit 2; }
[[ $DISPLAY_KIND == x11 || $DISPLAY_KIND == wayland ]] || { echo "[session] --display must be x11 or wayland" >&2; exit 2; }
(($#)) || { echo "[session] no command given" >&2; exit 2; }

RUN=$(mktemp -d "${TMPDIR:-/tmp}/morvela-e2e.XXXXXX") || exit 2
STARTED=()

fail() { echo "[session] ERROR: $*" >&2; exit 2; }
alive() { local st; st=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) && [[ -n $st && $st != Z ]]; }

# wait_until SECS CMD...: true once CMD succeeds, false after SECS
wait_until() {
    local deadline=$((SECONDS + $1)); shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# start NAME CMD...: a daemon in the background, logging to $RUN/NAME.log
start() {
    local name=$1; shift
    "$@" >"$RUN/$name.log" 2>&1 &
    STARTED+=($!)
}

# died NAME: the reason a daemon is missing, with its log's tail
died() { fail "$1 did not come up; last lines of $RUN/$1.log:
$(tail -n 15 "$RUN/$1.log" 2>/dev/null)"; }

descendants() {
    local kid
    for kid in $(cat /proc/"$1"/task/*/children 2>/dev/null); do echo "$kid"; descendants "$kid"; done
}

# Ends only what this session started: the PIDs above, their children, and
# daemons that detached but carry this session's marker in their environment.
teardown() {
    local rc=$? pids=() p f
    trap - EXIT INT TERM
    export -n MORVELA_E2E_RUN
    for p in "${STARTED[@]}"; do pids+=("$p" $(descendants "$p")); done
    for f in $(grep -lsxzF "MORVELA_E2E_RUN=$RUN" /proc/[0-9]*/environ); do
        p=${f#/proc/}; p=${p%/environ}
        [[ $p == "$$" ]] || pids+=("$p" $(descendants "$p"))
    done
    local live=()
    for p in $(printf '%s\n' "${pids[@]}" | awk 'NF && !seen[$0]++'); do alive "$p" && live+=("$p"); done
    if ((${#live[@]})); then
        kill -TERM "${live[@]}" 2>/dev/null
        for _ in $(seq 50); do
            local left=(); for p in "${live[@]}"; do alive "$p" && left+=("$p"); done
            ((${#left[@]})) || break
            sleep 0.1
        done
        for p in "${live[@]}"; do alive "$p" && kill -KILL "$p" 2>/dev/null; done
    fi
    wait 2>/dev/null
    rm -rf "$RUN"
    exit "$rc"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if [[ $DISPLAY_KIND == x11 ]]; then tools=(Xvfb xdpyinfo xdotool import); else tools=(sway swaymsg wtype grim wayvnc); fi
for tool in "${tools[@]}" dbus-daemon dbus-send; do
    command -v "$tool" >/dev/null || fail "$tool missing: run scripts/install-deps.sh --test"
done
if [[ $DISPLAY_KIND == wayland ]]; then
    compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null \
        || fail "qt6-wayland missing: run scripts/install-deps.sh --test"
fi

mkdir -p "$RUN"/{home,config,data,cache,runtime} && chmod 700 "$RUN/runtime"
export MORVELA_E2E_RUN="$RUN" MORVELA_E2E_IME="$IME" MORVELA_E2E_DISPLAY="$DISPLAY_KIND"
export HOME="$RUN/home" XDG_CONFIG_HOME="$RUN/config" XDG_DATA_HOME="$RUN/data" \
       XDG_CACHE_HOME="$RUN/cache" XDG_RUNTIME_DIR="$RUN/runtime"
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS IBUS_ADDRESS WAYLAND_DISPLAY DISPLAY \
      SWAYSOCK XMODIFIERS GTK_IM_MODULE QT_IM_MODULE QT_QPA_PLATFORM
export LANG=C.UTF-8 LC_ALL=C.UTF-8 GSETTINGS_BACKEND=memory
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

if [[ $DISPLAY_KIND == x11 ]]; then
    export QT_QPA_PLATFORM=xcb
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$RUN/display" >"$RUN/Xvfb.log" 2>&1 &
    STARTED+=($!)
    wait_until 15 grep -q '[0-9]' "$RUN/display" || died Xvfb
    export DISPLAY=":$(tr -dc 0-9 <"$RUN/display")"
    wait_until 10 xdpyinfo || died Xvfb
else
    # A headless sway, no X server beside it: the program is a native
    # Wayland client. Windows float at their own size, as GNOME and KDE
    # place them.
    export QT_QPA_PLATFORM=wayland
    mkdir -p "$XDG_CONFIG_HOME/sway"
    printf '%s\n' "output HEADLESS-1 mode 1280x1024@60Hz position 0,0 scale 1" "xwayland disable" \
        "default_border normal" "focus_follows_mouse no" 'for_window [title=".*"] floating enable' \
        "seat seat0 fallback true" >"$XDG_CONFIG_HOME/sway/config"
    export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1
    start sway sway -c "$XDG_CONFIG_HOME/sway/config"
    wayland_socket() { ls "$XDG_RUNTIME_DIR" | grep -x 'wayland-[0-9]*' | head -n1; }
    has_wayland_socket() { [[ -n $(wayland_socket) ]]; }
    wait_until 15 has_wayland_socket || died sway
    export WAYLAND_DISPLAY=$(wayland_socket)
    export SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" | head -n1)
    wait_until 10 swaymsg -t get_outputs || died sway
    # A keyboard that stays: each wtype call brings a virtual keyboard and
    # takes it away again, and a seat left without one takes the keyboard
    # focus from the program between two calls.
    start wtype-keeper wtype -s 86400000
    # A pointer: wayvnc's virtual pointer, moved and clicked over a private
    # socket (the seat of a headless sway has none of its own).
    start wayvnc wayvnc --unix-socket "$RUN/pointer.sock"
    wait_until 10 test -S "$RUN/pointer.sock" || died wayvnc
    export MORVELA_E2E_POINTER="$RUN/pointer.sock"
    sleep 0.5
fi

# session bus
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$RUN/dbus.addr" >"$RUN/dbus.log" 2>&1 &
STARTED+=($!)
wait_until 10 grep -q . "$RUN/dbus.addr" || died dbus
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$RUN/dbus.addr")

# accessibility bus
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || fail "$launcher missing: run scripts/install-deps.sh --test"
start at-spi "$launcher" --launch-immediately
wait_until 10 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress || died at-spi

# Mozc's learning off (incognito, no history), so every run converts alike.
mkdir -p "$XDG_CONFIG_HOME/mozc"
printf '\xa0\x01\x01\x90\x03\x02' >"$XDG_CONFIG_HOME/mozc/config1.db"

case "$IME" in
ibus)
    [[ -x /usr/lib/ibus-mozc/ibus-engine-mozc ]] || fail "ibus-mozc missing: run scripts/install-deps.sh --test"
    # Selecting the Mozc engine starts it in Hiragana.
    cat >"$XDG_CONFIG_HOME/mozc/ibus_config.textproto" <<'EOF'
engines { name: "mozc-jp" longname: "Mozc" layout: "default" layout_variant: "" layout_option: "" rank: 80 }
active_on_launch: True
EOF
    start ibus ibus-daemon --panel=disable --emoji-extension=disable --cache=none
    wait_until 20 sh -c 'ibus list-engine | grep -q mozc-jp' || died ibus
    # 'ibus engine NAME' can fail although it switched: the query counts
    wait_until 10 sh -c 'ibus engine xkb:us::eng; [ "$(ibus engine)" = xkb:us::eng ]' || died ibus
    export IBUS_ADDRESS=$(ibus address) QT_IM_MODULE=ibus XMODIFIERS=@im=ibus
    ;;
fcitx5)
    [[ -e /usr/share/fcitx5/addon/mozc.conf ]] || fail "fcitx5-mozc missing: run scripts/install-deps.sh --test"
    compgen -G "/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so" >/dev/null \
        || fail "fcitx5-frontend-qt6 missing: run scripts/install-deps.sh --test"
    mkdir -p "$XDG_CONFIG_HOME/fcitx5"
    printf '%s\n' '[Groups/0]' 'Name=Default' 'Default Layout=us' 'DefaultIM=mozc' '' \
        '[Groups/0/Items/0]' 'Name=keyboard-us' 'Layout=' '' '[Groups/0/Items/1]' 'Name=mozc' 'Layout=' '' \
        '[GroupOrder]' '0=Default' >"$XDG_CONFIG_HOME/fcitx5/profile"
    # One input state for all windows: the program's boxes switch it, not fcitx5.
    printf '[Behavior]\nShareInputState=All\n' >"$XDG_CONFIG_HOME/fcitx5/config"
    # Its Wayland modules run on Wayland, as on a learner's desktop; on X11
    # there is no compositor for them.
    disable=notificationitem,kimpanel,clipboard,ibusfrontend,fcitx4frontend,xim
    [[ $DISPLAY_KIND == x11 ]] && disable+=,wayland,waylandim
    start fcitx5 fcitx5 --keep --disable="$disable"
    wait_until 20 fcitx5-remote || died fcitx5
    export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
    ;;
esac

timeout -k 5 "$TIMEOUT" "$@" &
cmd=$!
STARTED+=($cmd)
wait "$cmd"; rc=$?
((rc == 124)) && echo "[session] ERROR: the command ran out of its $TIMEOUT s: $*" >&2
exit "$rc"
