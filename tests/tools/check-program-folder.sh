#!/bin/sh
# Prepares a program folder in a temporary place and checks what the program will find there;
# a second run keeps what exists, and the data folder is never touched.
#   check-program-folder.sh PREPARE-SCRIPT COUPON-TOOL
set -u
PREPARE=$1
TOOL=$2
for tool in espeak-ng sox; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
done
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
ROOT=$(cd "$(dirname "$PREPARE")/.." && pwd)

export HOME="$TMP/home" XDG_DATA_HOME="$TMP/xdg"
mkdir -p "$HOME" "$XDG_DATA_HOME"
printf '#!/bin/sh\nexit 0\n' >"$TMP/audioloop"
chmod +x "$TMP/audioloop"
P="$TMP/program"

sh "$PREPARE" "$P" "$TMP/audioloop" "$TOOL" || fail "prepare failed"
for voice in Suomi Svenska English; do
    [ "$(ls "$P/audio/$voice" | wc -l)" -eq 92 ] || fail "voice $voice incomplete"
done
[ -s "$P/audio/silence.wav" ] || fail "silence.wav missing"
[ -x "$P/audio/audioloop" ] || fail "helper not copied"
for lang in fi se en; do
    cmp -s "$ROOT/data/html/public_screen.htm" "$P/html/$lang/public_screen.htm" ||
        fail "page for $lang not copied"
done
for spec in kup75.hex:75 VORPA.hex:75 KASTIRO.hex:75 90.hex:90; do
    f=${spec%%:*}
    n=${spec#*:}
    "$TOOL" inspect --numbers "$n" "$P/$f" >"$TMP/report" || fail "$f is not clean"
    grep -q "^Coupons: 3000$" "$TMP/report" || fail "$f does not hold 3000 coupons"
done
"$TOOL" inspect --numbers 75 "$P/VORPA.hex" | grep -q "^Free middles: 3000$" || fail "VORPA.hex has no free middles"
# (espeak-ng may leave sound-server settings under ~/.config; that is not the data folder.)
[ -z "$(find "$XDG_DATA_HOME" -mindepth 1)" ] && [ ! -e "$HOME/.local/share" ] ||
    fail "the data folder was touched"

# Second run: nothing is rebuilt or replaced; a missing voice and a missing series come back.
printf 'own series' >"$P/KASTIRO.hex"
before=$(ls -l --time-style=+%s.%N "$P/audio/Suomi/1.wav")
rm -rf "$P/audio/English" "$P/90.hex"
sh "$PREPARE" "$P" "" "$TOOL" || fail "second prepare failed"
[ "$(cat "$P/KASTIRO.hex")" = "own series" ] || fail "an existing series was replaced"
[ "$(ls -l --time-style=+%s.%N "$P/audio/Suomi/1.wav")" = "$before" ] || fail "a complete voice was rebuilt"
[ "$(ls "$P/audio/English" | wc -l)" -eq 92 ] || fail "the missing voice was not rebuilt"
[ -s "$P/90.hex" ] || fail "the missing series was not generated"
echo "program folder ok"
