#!/bin/sh
# The real program on a virtual display, ended by a signal as at logout: it clears what a killed
# run left in the temporary folder when it starts, ends in order on SIGTERM (exit status 0, within
# a few seconds), keeps the game stored for the next start, and leaves no temporary file of its
# own behind. Started again, it asks "Load previous state?"; a SIGTERM then must not answer for
# the operator: the stored game stays as it was.
#
#   check-signal-end.sh PROGRAM COUPON_TOOL PAGE
#
# Exits 77 (skipped) when xvfb-run is missing.
set -eu
PROGRAM=$1
COUPONS=$(realpath "$2")
PAGE=$(realpath "$3")
. "$(dirname "$0")/../support/program-on-display.sh"
program_on_display signal-end
for lang in fi se en; do
    mkdir -p "$ROOT/program/html/$lang"
    cp "$PAGE" "$ROOT/program/html/$lang/public_screen.htm"
done
"$COUPONS" generate-samples "$ROOT/program" >/dev/null
printf '[common]\nlanguage=2\nenable_background_voice=0\npublic_screen=1\n' > "$DATA/settings.ini"
TEMP="$ROOT/tmp"
mkdir -p "$TEMP"
# A run that was killed: its process is gone, its copies stayed.
dead=$(sh -c 'echo $$')
mkdir -p "$TEMP/zorvi-voice-$dead-aB3dE9"
: > "$TEMP/zorvi-voice-$dead-aB3dE9/1.wav"
: > "$TEMP/zorvi-alert-$dead-Qw12Er.wav"

# Sends SIGTERM to the program and waits for it and its display to end; sets code to the exit
# status. OUT is the program's output, shown when it does not end.
terminate() {
    pid=$(pgrep -g "$GROUP" -x zorvi)
    kill -TERM "$pid"
    tries=0
    while kill -0 "$pid" 2>/dev/null; do
        tries=$((tries + 1))
        if [ $tries -gt 150 ]; then
            echo "FAIL: still running 15 s after SIGTERM"; cat "$1"; exit 1
        fi
        sleep 0.1
    done
    code=0
    wait "$GROUP" || code=$?
    GROUP=""
}

cd "$ROOT/program"
HOME="$ROOT/home" XDG_DATA_HOME="$ROOT/xdg" TMPDIR="$TEMP" QTWEBENGINE_DISABLE_SANDBOX=1 \
    QT_QPA_PLATFORM=xcb setsid xvfb-run -a -s "-screen 0 1280x1024x24" "$PROGRAM" \
    >"$ROOT/out.txt" 2>&1 &
GROUP=$!

# A generous guard, not a speed target: the start takes well under a second here.
tries=0
# The start-up is over once the fresh game is committed to in the log.
until grep -qs ': Game commitment: ' "$DATA"/logs/*.log && pgrep -g "$GROUP" -x zorvi >/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ]; then
        echo "FAIL: no game begun after 60 s"; cat "$ROOT/out.txt"; exit 1
    fi
    sleep 0.1
done
sleep 1
status=0
if ls "$TEMP" | grep -q "^zorvi-[a-z]*-$dead-"; then
    echo "FAIL: the killed run's files are still there"; ls -la "$TEMP"; status=1
fi
terminate "$ROOT/out.txt"
[ "$code" -eq 0 ] || { echo "FAIL: exit status $code after SIGTERM"; cat "$ROOT/out.txt"; status=1; }
grep -q '^randomizer_numbers=' "$DATA/state.ini" || { echo "FAIL: the stored game is gone"; status=1; }
if ls "$TEMP" | grep -q '^zorvi-'; then
    echo "FAIL: left behind:"; ls -la "$TEMP"; status=1
fi
[ $status -eq 0 ] && echo "ended in order on SIGTERM, nothing left behind"

# Again, with the stored game: the question is open (or the start-up still running) when the
# signal comes.
sequence=$(grep '^randomizer_numbers=' "$DATA/state.ini")
[ "$sequence" != "randomizer_numbers=" ] || { echo "FAIL: no game stored"; exit 1; }
HOME="$ROOT/home" XDG_DATA_HOME="$ROOT/xdg" TMPDIR="$TEMP" QTWEBENGINE_DISABLE_SANDBOX=1 \
    QT_QPA_PLATFORM=xcb setsid xvfb-run -a -s "-screen 0 1280x1024x24" "$PROGRAM" \
    >"$ROOT/out2.txt" 2>&1 &
GROUP=$!
tries=0
until [ "$(grep -c ': Starting program' "$DATA"/logs/*.log)" -ge 2 ] \
      && pgrep -g "$GROUP" -x zorvi >/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ]; then
        echo "FAIL: no second start after 60 s"; cat "$ROOT/out2.txt"; exit 1
    fi
    sleep 0.1
done
sleep 2
terminate "$ROOT/out2.txt"
[ "$code" -eq 0 ] || { echo "FAIL: exit status $code after SIGTERM at the question"; status=1; }
[ "$(grep '^randomizer_numbers=' "$DATA/state.ini")" = "$sequence" ] \
    || { echo "FAIL: the signal gave up the stored game"; echo "$sequence"; grep "^randomizer_numbers=" "$DATA/state.ini"; cat "$DATA"/logs/*.log; status=1; }
if ls "$TEMP" | grep -q '^zorvi-'; then
    echo "FAIL: left behind at the question:"; ls -la "$TEMP"; status=1
fi
[ $status -eq 0 ] && echo "a SIGTERM at the question kept the stored game"
exit $status
