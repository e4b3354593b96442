#!/bin/sh
# The real program on a virtual display with 50 MB of junk as its "state.ini": it must come up
# (no hang, no memory run-away), file the junk away as "state.ini.corrupt-<date>-<time>", write
# a clean "state.ini" for the fresh game and keep a whole log. The program waits at its
# "Corrupted state filed, resetting" box, which the test leaves open, then ends it.
#
#   check-hostile-data-folder.sh PROGRAM
#
# Exits 77 (skipped) when xvfb-run is missing.
set -eu
PROGRAM=$1
. "$(dirname "$0")/../support/program-on-display.sh"
program_on_display hostile
yes "junk that is no game at all, line after line of it" | head -c 52428800 > "$DATA/state.ini"

cd "$ROOT/program"
# A process group of its own, so the program, the display server and the wrapper end together.
HOME="$ROOT/home" XDG_DATA_HOME="$ROOT/xdg" QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb \
    setsid xvfb-run -a -s "-screen 0 1280x1024x24" "$PROGRAM" >"$ROOT/out.txt" 2>&1 &
GROUP=$!

# A generous guard, not a speed target: the start takes well under a second here.
tries=0
until [ -f "$DATA/state.ini" ] && head -c 8 "$DATA/state.ini" | grep -q '^\[common\]' \
      && ls "$DATA"/state.ini.corrupt-* >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ]; then
        echo "FAIL: no clean state.ini and set-aside copy after 60 s"; ls -la "$DATA"; cat "$ROOT/out.txt"; exit 1
    fi
    if ! kill -0 "$GROUP" 2>/dev/null; then
        echo "FAIL: the program ended"; cat "$ROOT/out.txt"; exit 1
    fi
    sleep 0.1
done
sleep 0.5
kill -0 "$GROUP" 2>/dev/null || { echo "FAIL: the program ended"; cat "$ROOT/out.txt"; exit 1; }

status=0
copy=$(ls "$DATA"/state.ini.corrupt-*)
echo "set aside as $(basename "$copy")"
basename "$copy" | grep -Eq '^state\.ini\.corrupt-[0-9]{4}-[0-9]{2}-[0-9]{2}-[0-9]{6}$' \
    || { echo "FAIL: set-aside name"; status=1; }
[ "$(wc -c < "$copy")" -eq 52428800 ] || { echo "FAIL: set-aside copy is not the whole junk"; status=1; }
size=$(wc -c < "$DATA/state.ini")
echo "clean state.ini: $size bytes"
[ "$size" -lt 1000 ] || { echo "FAIL: state.ini still holds the junk"; status=1; }
grep -q '^number_count=0' "$DATA/state.ini" || { echo "FAIL: no fresh game in state.ini"; status=1; }
grep -q '^randomizer_numbers=' "$DATA/state.ini" || { echo "FAIL: no sequence in state.ini"; status=1; }
# Every line of the log is whole.
log=$(ls "$DATA"/logs/*.log)
grep -q ': Starting program' "$log" || { echo "FAIL: no start in the log"; status=1; }
if LC_ALL=C grep -avE '^[0-9]{4}-[0-9]{1,2}-[0-9]{1,2} [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}: .*'"$(printf '\r')"'$' "$log"; then
    echo "FAIL: torn log line"; status=1
fi
# The memory the program took at its peak: far below the junk's size times anything.
pid=$(pgrep -g "$GROUP" -x zorvi || true)
if [ -n "$pid" ]; then
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    echo "peak resident memory: $peak kB"
    [ "$peak" -lt 512000 ] || { echo "FAIL: memory run-away"; status=1; }
fi
exit $status
