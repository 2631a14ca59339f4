#!/usr/bin/env bash
# Runs heard_bench against a private sound server with a null sink, in a
# scratch folder, so no real sound device or user session is touched. The
# sink never rewinds: a rewind would take back blocks the recording has not
# yet been handed, and the recording would lose them.
#
#   bench/heard_bench.sh BUILD_DIR [pulseaudio|pipewire] [TICKS] [detail]
#
# pulseaudio: Debian's pulseaudio and pulseaudio-utils (parec, pacat).
# pipewire:   pipewire, pipewire-pulse, pipewire-bin (pw-record) and
#             wireplumber, plus pulseaudio-utils; recorded with both parec
#             and pw-record.
# Exits 2 when a tick went unheard or an interval was 3 ms off or more.
set -euo pipefail
build=$(realpath "${1:?build folder}")
server=${2:-pulseaudio}
ticks=${3:-200}
detail=${4:-}

scratch=$(mktemp -d /tmp/morvela-heard.XXXXXX)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

export HOME=$scratch XDG_RUNTIME_DIR=$scratch/run XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state
export PULSE_RUNTIME_PATH=$scratch/run/pulse PULSE_STATE_PATH=$scratch/state/pulse
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$PULSE_RUNTIME_PATH" "$PULSE_STATE_PATH"
chmod 700 "$XDG_RUNTIME_DIR"
export PULSE_SERVER=unix:$PULSE_RUNTIME_PATH/native
export HEARD_SINK=bench HEARD_RECORDERS=parec

case $server in
pulseaudio)
    # -n: no default configuration, only the modules named here.
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --disallow-exit \
        -L "module-null-sink sink_name=bench rate=48000 norewinds=1" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$PULSE_RUNTIME_PATH/native" \
        >"$scratch/server.log" 2>&1 &
    pids+=($!)
    ;;
pipewire)
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$scratch/run/bus
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork >"$scratch/dbus.log" 2>&1 &
    pids+=($!)
    pipewire >"$scratch/server.log" 2>&1 &
    pids+=($!)
    sleep 1
    wireplumber >"$scratch/wireplumber.log" 2>&1 &
    pids+=($!)
    pipewire-pulse >"$scratch/pulse.log" 2>&1 &
    pids+=($!)
    sleep 2
    pactl load-module module-null-sink sink_name=bench rate=48000 norewinds=1 >/dev/null
    pactl set-default-sink bench
    HEARD_RECORDERS="parec pw-record"
    ;;
*)
    echo "unknown server: $server" >&2
    exit 2
    ;;
esac

for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
if ! pactl info >/dev/null 2>&1; then
    echo "the $server server did not start:" >&2
    cat "$scratch"/*.log >&2
    exit 1
fi
pactl info | grep -E "^Server (Name|Version)|^Default Sink"
# Other work on the machine shows in the figures: a starved output runs dry.
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

status=0
if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/heard_bench" "$ticks" $detail || status=$?
else
    QT_QPA_PLATFORM=offscreen "$build/bench/heard_bench" "$ticks" $detail || status=$?
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
