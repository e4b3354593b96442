#!/bin/sh
# run_with_pulse.sh PROGRAM [ARGUMENT...]
#
# Runs PROGRAM against a private PulseAudio daemon whose only sink is the null sink
# "nullsink", with PULSE_SERVER pointing at it and ZORVI_PULSE_TEST=1 set, then ends the
# daemon. Exits 77 (skipped) when PulseAudio is not installed.
set -u

for tool in pulseaudio pactl pacat parec sox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

DIR=$(mktemp -d "${TMPDIR:-/tmp}/zorvi-pulse-XXXXXX")
# The daemon keeps its pid file, cookie and socket here, apart from any other daemon.
export HOME="$DIR" XDG_RUNTIME_DIR="$DIR/run" XDG_CONFIG_HOME="$DIR/config"
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

cleanup() {
    if [ -f "$XDG_RUNTIME_DIR/pulse/pid" ]; then
        pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
        kill "$pid" 2>/dev/null
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
            sleep 0.1
            i=$((i + 1))
        done
        kill -9 "$pid" 2>/dev/null
    fi
    rm -rf "$DIR"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

if ! pulseaudio --daemonize=yes -n --exit-idle-time=-1 --disallow-exit \
    -L "module-native-protocol-unix socket=$DIR/native auth-anonymous=1" \
    -L "module-null-sink sink_name=nullsink norewinds=1" \
    -L module-always-sink 2>"$DIR/daemon.log"; then
    cat "$DIR/daemon.log"
    echo "pulseaudio did not start"
    exit 1
fi
export PULSE_SERVER="unix:$DIR/native"
i=0
until pactl info >/dev/null 2>&1; do
    i=$((i + 1))
    if [ $i -gt 50 ]; then
        cat "$DIR/daemon.log"
        echo "pulseaudio does not answer"
        exit 1
    fi
    sleep 0.1
done

export ZORVI_PULSE_TEST=1
"$@"
exit $?
