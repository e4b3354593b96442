#!/bin/sh
# Builds the caller voices of the program folder with espeak-ng and sox.
#
#   build-voices.sh OUTDIR [VOICE...]
#   build-voices.sh OUTDIR --silence-only
#
# Writes OUTDIR/audio/<voice>/1.wav ... 90.wav, oikein.wav and numeroraja.wav for the voices
# "Suomi" (Finnish), "Svenska" (Swedish) and "English" (or only the ones named), and
# OUTDIR/audio/silence.wav, two seconds of silence for the background loop.
#
# A number is called as a hall caller does: the letter of its column, a short pause, then the
# number. The letters are those the screens show (B, I, N, G, O for 1-75, S for 76-90), said
# with the spelling alphabet of the language: Finnish Bertta, Iivari, Niilo, Gideon, Otto,
# Sakari ("Bertta, viisi"); Swedish Bertil, Ivar, Niklas, Gustav, Olof, Sigurd ("Bertil, fem");
# English the bare letters ("B, five"). espeak-ng says the digits in the voice's own language.
#
# Every recording is 16-bit PCM mono WAV at 22050 Hz, trimmed of silence at both ends and
# normalised to -3 dBFS peak. The build is reproducible: espeak-ng is deterministic and sox
# runs without dither (-D) and with its fixed random seed (-R), so the same input gives the
# same bytes. Each voice is built in a hidden folder (a name starting with "." is not offered
# as a voice) and moved into place when complete, so an interrupted build leaves no half voice.
set -eu

if [ $# -lt 1 ]; then
    echo "usage: $0 OUTDIR [Suomi|Svenska|English ...] | OUTDIR --silence-only" >&2
    exit 2
fi
OUTDIR=$1
shift
for tool in espeak-ng sox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$0: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

AUDIO="$OUTDIR/audio"
mkdir -p "$AUDIO"
RATE=22050
SPEED=150

# phrase LANGUAGE-CODE NUMBER: the caller's words for a number.
phrase() {
    n=$2
    if [ "$n" -le 15 ]; then i=0; elif [ "$n" -le 30 ]; then i=1; elif [ "$n" -le 45 ]; then i=2
    elif [ "$n" -le 60 ]; then i=3; elif [ "$n" -le 75 ]; then i=4; else i=5; fi
    case $1 in
    fi) set -- Bertta Iivari Niilo Gideon Otto Sakari ;;
    sv) set -- Bertil Ivar Niklas Gustav Olof Sigurd ;;
    *) set -- B I N G O S ;;
    esac
    shift "$i"
    printf '%s, %d' "$1" "$n"
}

# record ESPEAK-VOICE TEXT OUT: speaks TEXT into OUT, trimmed and normalised.
record() {
    raw="$OUT_TMP/raw-$$.wav"
    espeak-ng -v "$1" -s "$SPEED" -w "$raw" "$2"
    sox -D -R -q "$raw" -r "$RATE" -b 16 -c 1 -e signed-integer "$3" \
        silence 1 0.05 1% reverse silence 1 0.05 1% reverse norm -3
    rm -f "$raw"
}

# build_voice FOLDER ESPEAK-VOICE LANGUAGE CORRECT-TEXT LIMIT-TEXT
build_voice() {
    target="$AUDIO/$1"
    OUT_TMP="$AUDIO/.build-$1"
    rm -rf "$OUT_TMP"
    mkdir -p "$OUT_TMP"
    n=1
    while [ "$n" -le 90 ]; do
        record "$2" "$(phrase "$3" "$n")" "$OUT_TMP/$n.wav"
        n=$((n + 1))
    done
    record "$2" "$4" "$OUT_TMP/oikein.wav"
    record "$2" "$5" "$OUT_TMP/numeroraja.wav"
    rm -rf "$target"
    mv "$OUT_TMP" "$target"
}

voice_job() {
    case $1 in
    Suomi) build_voice Suomi fi fi "Bingo! Oikein!" "Numeroraja" ;;
    Svenska) build_voice Svenska sv sv "Bingo! Rätt!" "Antalsgräns" ;;
    English) build_voice English en-gb en "Bingo! Correct!" "Number limit" ;;
    *) echo "$0: unknown voice $1 (Suomi, Svenska, English)" >&2; return 2 ;;
    esac
}

if [ "${1:-}" = "--silence-only" ]; then
    set --
elif [ $# -eq 0 ]; then
    set -- Suomi Svenska English
fi

# The voices are independent: build them side by side.
pids=""
for v in "$@"; do
    voice_job "$v" &
    pids="$pids $!"
done
status=0
for p in $pids; do
    wait "$p" || status=1
done

sox -D -R -q -n -r "$RATE" -b 16 -c 1 -e signed-integer "$AUDIO/silence.wav" trim 0 2
exit "$status"
