#!/bin/sh
# Prepares a program folder, the working directory the program reads its files from, so a
# fresh machine plays a real game on the first run:
#   - the public-screen pages (html/<fi|se|en>/public_screen.htm), one page copied to each;
#   - the voices "Suomi", "Svenska" and "English" and silence.wav under audio, built when
#     missing or incomplete (data/voices/build-voices.sh, reproducible);
#   - the background sound helper, copied into audio when it is built;
#   - the sample coupon series kup75.hex, VORPA.hex (free middle), KASTIRO.hex and 90.hex,
#     3000 coupons each, generated when missing; existing series are never replaced.
# The data folder (settings, game state, log) is not touched.
#
#   prepare-program-folder.sh FOLDER [HELPER-PROGRAM] [COUPON-TOOL]
#
# HELPER-PROGRAM: the built background sound helper; skipped when empty or absent.
# COUPON-TOOL: the built zorvi-coupons; by default FOLDER/../tools/zorvi-coupons, then PATH.
set -eu

if [ $# -lt 1 ] || [ -z "$1" ]; then
    echo "usage: $0 FOLDER [HELPER-PROGRAM] [COUPON-TOOL]" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
FOLDER=$1
HELPER=${2:-}
TOOL=${3:-}
mkdir -p "$FOLDER/audio"

# Pages: whatever the project has.
for lang in fi se en; do
    mkdir -p "$FOLDER/html/$lang"
    cp "$ROOT/data/html/public_screen.htm" "$FOLDER/html/$lang/public_screen.htm"
done

# Voices: a voice counts as present when all 92 recordings are there.
voice_complete() {
    [ -d "$FOLDER/audio/$1" ] || return 1
    [ -s "$FOLDER/audio/$1/oikein.wav" ] && [ -s "$FOLDER/audio/$1/numeroraja.wav" ] || return 1
    n=1
    while [ "$n" -le 90 ]; do
        [ -s "$FOLDER/audio/$1/$n.wav" ] || return 1
        n=$((n + 1))
    done
}
missing=""
for voice in Suomi Svenska English; do
    voice_complete "$voice" || missing="$missing $voice"
done
if [ -n "$missing" ]; then
    echo "Building voices:$missing"
    # shellcheck disable=SC2086
    sh "$ROOT/data/voices/build-voices.sh" "$FOLDER" $missing
elif [ ! -s "$FOLDER/audio/silence.wav" ]; then
    sh "$ROOT/data/voices/build-voices.sh" "$FOLDER" --silence-only
fi

# The background sound helper.
if [ -n "$HELPER" ] && [ -f "$HELPER" ] && [ -x "$HELPER" ]; then
    cp "$HELPER" "$FOLDER/audio/"
elif [ -n "$HELPER" ]; then
    echo "No background sound helper at $HELPER: skipped"
fi

# The sample coupon series.
if [ -z "$TOOL" ]; then
    if [ -x "$FOLDER/../tools/zorvi-coupons" ]; then
        TOOL="$FOLDER/../tools/zorvi-coupons"
    else
        TOOL=$(command -v zorvi-coupons || true)
    fi
fi
need_series=0
for f in kup75.hex VORPA.hex KASTIRO.hex 90.hex; do
    [ -e "$FOLDER/$f" ] || need_series=1
done
if [ "$need_series" -eq 1 ]; then
    if [ -n "$TOOL" ] && [ -x "$TOOL" ]; then
        "$TOOL" generate-samples "$FOLDER"
    else
        echo "zorvi-coupons is not built: no sample coupon series" >&2
    fi
fi
