#!/bin/sh
# The real program on a virtual display, its hall server on 127.0.0.1, with a low open-file
# limit so that the server's bounds are really reached: hall_soak attacks it from other
# loopback addresses while it presses Space and watches an honest browser (see hall_soak.cpp).
#
#   check-hall-soak.sh PROGRAM SOAK COUPON_TOOL PAGE [SECONDS]
#
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
set -eu

# Inside the virtual display: the program with its own low open-file limit (soft and hard, so
# that it cannot raise it; the display keeps its own), then the soak against it.
if [ "${1:-}" = "--inside" ]; then
    PROGRAM=$2; SOAK=$3; DATA=$4; PORT=$5; LIMIT=$6; SECONDS_SOAK=$7
    sh -c "ulimit -n $LIMIT && exec \"\$0\"" "$PROGRAM" &
    PID=$!
    tries=0
    until [ -f "$DATA/state.ini" ] && xdotool search --onlyvisible --name '^ZORVI' >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ $tries -gt 600 ]; then echo "FAIL: the program did not come up in 60 s"; kill "$PID"; exit 1; fi
        kill -0 "$PID" 2>/dev/null || { echo "FAIL: the program ended"; exit 1; }
        sleep 0.1
    done
    sleep 1
    # No window manager: the operator window is given the keyboard directly.
    WINDOW=$(xdotool search --onlyvisible --name '^ZORVI' | head -n 1)
    echo "window: $(xdotool getwindowname "$WINDOW")"
    xdotool windowfocus --sync "$WINDOW" || true
    status=0
    "$SOAK" --port "$PORT" --pid "$PID" --state "$DATA/state.ini" --seconds "$SECONDS_SOAK" \
        --limit "$LIMIT" || status=$?
    kill "$PID" 2>/dev/null || true
    sleep 1
    kill -9 "$PID" 2>/dev/null || true
    exit $status
fi
SELF=$(realpath "$0")
PROGRAM=$(realpath "$1")
SOAK=$(realpath "$2")
COUPONS=$(realpath "$3")
PAGE=$(realpath "$4")
SECONDS_SOAK=${5:-30}
LIMIT=512
. "$(dirname "$SELF")/../../support/program-on-display.sh"
program_on_display soak xdotool
for lang in fi se en; do
    mkdir -p "$ROOT/program/html/$lang"
    cp "$PAGE" "$ROOT/program/html/$lang/public_screen.htm"
done
"$COUPONS" generate-samples "$ROOT/program" >/dev/null
# A port from the process number, so that two runs side by side do not meet; below the
# system's range for outgoing connections, which the guests use by the thousand.
PORT=$(( 20000 + $$ % 12000 ))
cat > "$DATA/settings.ini" <<INI
[common]
language=2
enable_background_voice=0
public_screen=1
hall_server=1
hall_server_port=$PORT
hall_server_address=127.0.0.1
INI

cd "$ROOT/program"
HOME="$ROOT/home" XDG_DATA_HOME="$ROOT/xdg" QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb \
    setsid xvfb-run -a -s "-screen 0 1280x1024x24" \
    sh "$SELF" --inside "$PROGRAM" "$SOAK" "$DATA" "$PORT" "$LIMIT" "$SECONDS_SOAK" >"$ROOT/out.txt" 2>&1 &
GROUP=$!
wait "$GROUP" && status=0 || status=$?
GROUP=""
# The soak's own report, without the program's chatter.
grep -E '^(draws|honest|program|guests|fresh|soak|FAIL|window)' "$ROOT/out.txt" || cat "$ROOT/out.txt"
exit $status
