#!/bin/sh
# Builds the voices into a temporary folder and checks that each voice has its 92 recordings,
# every one 16-bit mono PCM and audibly not silent, plus silence.wav; a second build must give
# the same bytes.
#   check-voices.sh BUILD-VOICES-SCRIPT
set -u
SCRIPT=$1
for tool in espeak-ng sox; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
done
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

sh "$SCRIPT" "$TMP/a" || fail "the build script failed"
AUDIO="$TMP/a/audio"
[ -f "$AUDIO/silence.wav" ] || fail "silence.wav missing"
for voice in Suomi Svenska English; do
    dir="$AUDIO/$voice"
    [ -d "$dir" ] || fail "voice $voice missing"
    count=$(ls "$dir" | wc -l)
    [ "$count" -eq 92 ] || fail "$voice holds $count files, not 92"
    n=1
    files=""
    while [ "$n" -le 90 ]; do files="$files $n.wav"; n=$((n + 1)); done
    for f in $files oikein.wav numeroraja.wav; do
        path="$dir/$f"
        [ -s "$path" ] || fail "$voice/$f missing"
        [ "$(soxi -b "$path")" = 16 ] && [ "$(soxi -c "$path")" = 1 ] &&
            [ "$(soxi -e "$path")" = "Signed Integer PCM" ] || fail "$voice/$f is not 16-bit mono PCM"
        rms=$(sox "$path" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
        awk -v r="$rms" 'BEGIN { exit !(r > 0.02) }' || fail "$voice/$f is silent (RMS $rms)"
        # Leading silence is trimmed: the first 20 ms already carry sound.
        head=$(sox "$path" -n trim 0 0.02 stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
        awk -v m="$head" 'BEGIN { exit !(m > 0.005) }' || fail "$voice/$f starts with silence"
    done
done
rms=$(sox "$AUDIO/silence.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
awk -v r="$rms" 'BEGIN { exit !(r == 0) }' || fail "silence.wav is not silent"

sh "$SCRIPT" "$TMP/b" || fail "the second build failed"
diff -r "$TMP/a" "$TMP/b" >/dev/null || fail "two builds differ"
echo "voices ok"
