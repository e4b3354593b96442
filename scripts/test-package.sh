#!/bin/sh
# Makes the Debian package from a configured build (default build/test), runs lintian on it
# (no error, no warning), unpacks it into a temporary root, validates its desktop entry and
# AppStream metainfo, checks that it holds the program folder's files, its icons, manual pages
# and documents, and starts the unpacked program on the offscreen platform with
# an empty working directory and a fresh data folder until its operator window is ready: the
# log line "Read coupons" is written at the end of the start-up, once the coupon series was
# read (a missing series holds the start-up at a message box), and the public screen shows
# the page from the unpacked share/zorvi (seen through Qt WebEngine's remote debugging
# port on 127.0.0.1). Then ends it. Where the machine allows it (root, or sudo without a
# password, apt-get, and no zorvi installed already) the package is really installed with
# apt-get, the installed program is started the same way, and the package is purged again.
set -eu
cd "$(dirname "$0")/.."
BUILD=${1:-build/test}
OUT=build/package
WAIT_SECONDS=${ZORVI_PACKAGE_WAIT:-90}

rm -rf "$OUT"
cpack --config "$BUILD/CPackConfig.cmake" -B "$OUT" >"$OUT.log" 2>&1 || { cat "$OUT.log"; exit 1; }
DEB=$(ls "$OUT"/zorvi_*.deb)
echo "Package: $DEB ($(du -k "$DEB" | cut -f1) KiB)"
dpkg-deb -f "$DEB" Depends

# As a Debian packager's tools see it: no error and no warning. Info-level tags are printed.
# (lintian warns of itself when run as root, which a container's CI is.)
lintian --info --tag-display-limit 0 "$DEB" >"$OUT/lintian.txt" 2>&1 || true
grep -v 'running with root privileges is not recommended' "$OUT/lintian.txt" || true
if grep -Eq '^[EW]: ' "$OUT/lintian.txt"; then
    echo "package: lintian reports errors or warnings" >&2; exit 1
fi
# Each dependency once; the browser engine's helper among them.
deps=$(dpkg-deb -f "$DEB" Depends | tr ',' '\n' | sed 's/^ *//; s/ *(.*//')
[ -z "$(echo "$deps" | sort | uniq -d)" ] || { echo "package: a dependency is listed twice" >&2; exit 1; }
echo "$deps" | grep -qx 'libqt6webenginecore6-bin' \
    || { echo "package: the browser engine's helper is not a dependency" >&2; exit 1; }

WORK=$(mktemp -d)
PID=""
INSTALLED=""
SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo -n"; fi
cleanup() {
    if [ -n "$PID" ]; then kill -TERM "-$PID" 2>/dev/null || true; fi
    if [ -n "$INSTALLED" ]; then
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get purge -y -qq zorvi >/dev/null 2>&1 || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM
ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT"

desktop-file-validate "$ROOT/usr/share/applications/fi.zorvi.Zorvi.desktop"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/fi.zorvi.Zorvi.metainfo.xml"

SHARE="$ROOT/usr/share/zorvi"
fail() { echo "package: $*" >&2; exit 1; }
for f in usr/bin/zorvi usr/bin/zorvi-coupons usr/libexec/zorvi/AudioLoop; do
    [ -x "$ROOT/$f" ] || fail "missing $f"
done
[ -x "$SHARE/audio/AudioLoop" ] || fail "audio/AudioLoop does not lead to the helper"
[ -s "$SHARE/audio/silence.wav" ] || fail "missing audio/silence.wav"
for voice in Suomi Svenska English; do
    count=$(ls "$SHARE/audio/$voice" | grep -c '\.wav$' || true)
    [ "$count" -eq 92 ] || fail "voice $voice has $count recordings, not 92"
done
for lang in fi se en; do
    [ -s "$SHARE/html/$lang/public_screen.htm" ] || fail "missing html/$lang/public_screen.htm"
done
for series in kup75.hex VORPA.hex KASTIRO.hex 90.hex; do
    [ -s "$SHARE/$series" ] || fail "missing sample series $series"
done
[ -s "$ROOT/usr/share/icons/hicolor/scalable/apps/fi.zorvi.Zorvi.svg" ] || fail "missing icon"
for size in 48 64 128 256; do
    png="$ROOT/usr/share/icons/hicolor/${size}x$size/apps/fi.zorvi.Zorvi.png"
    file "$png" | grep -q "PNG image data, $size x $size" || fail "missing ${size}x$size icon"
done
# Built with the hardening flags: bound at start (full RELRO), fortified calls.
for f in usr/bin/zorvi usr/bin/zorvi-coupons usr/bin/zorvi-draws usr/libexec/zorvi/AudioLoop; do
    readelf -d "$ROOT/$f" | grep -q 'BIND_NOW' || fail "$f is not linked with -z now"
done
nm -D "$ROOT/usr/bin/zorvi-draws" | grep -q '__[a-z]*_chk' || fail "zorvi-draws is not fortified"
for page in zorvi zorvi-coupons zorvi-draws; do
    [ -s "$ROOT/usr/share/man/man1/$page.1.gz" ] || fail "missing manual page $page.1"
done
for doc in copyright changelog.gz; do
    [ -s "$ROOT/usr/share/doc/zorvi/$doc" ] || fail "missing share/doc/zorvi/$doc"
done

# A real install where the machine allows it: then the installed program is the one started.
PREFIX="$ROOT"
if [ "${ZORVI_PACKAGE_INSTALL:-1}" = 1 ] && command -v apt-get >/dev/null &&
    { [ -z "$SUDO" ] || sudo -n true 2>/dev/null; } &&
    ! dpkg-query -W -f '${Status}' zorvi 2>/dev/null | grep -q 'ok installed'; then
    INSTALLED=1
    cp "$DEB" "$WORK/zorvi.deb"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        "$WORK/zorvi.deb" >"$WORK/install.log" 2>&1 || { cat "$WORK/install.log"; fail "apt-get install failed"; }
    for f in /usr/bin/zorvi /usr/share/applications/fi.zorvi.Zorvi.desktop \
        /usr/share/icons/hicolor/48x48/apps/fi.zorvi.Zorvi.png /usr/share/man/man1/zorvi.1.gz; do
        [ -e "$f" ] || fail "the installed package has no $f"
    done
    # The menu entry starts what was installed.
    grep -q '^Exec=zorvi' /usr/share/applications/fi.zorvi.Zorvi.desktop || fail "the menu entry does not start zorvi"
    PREFIX=""
    echo "Installed with apt-get: $(dpkg-query -W -f '${Package} ${Version}' zorvi)"
else
    echo "No real install on this machine (not root, or zorvi already installed): the unpacked program is started"
fi

# A fresh user: the public screen on and a voice chosen, so the start-up loads the page too.
mkdir -p "$WORK/home" "$WORK/data/ZORVI" "$WORK/cwd"
PORT=$((20000 + $$ % 30000))
printf '[common]\nlanguage=2\npublic_screen=1\nvoice=English\n' >"$WORK/data/ZORVI/settings.ini"
(
    cd "$WORK/cwd"
    HOME="$WORK/home" XDG_DATA_HOME="$WORK/data" XDG_CONFIG_HOME="$WORK/home/.config" \
    XDG_CACHE_HOME="$WORK/home/.cache" QT_QPA_PLATFORM=offscreen \
    QTWEBENGINE_REMOTE_DEBUGGING="127.0.0.1:$PORT" \
    exec setsid "$PREFIX/usr/bin/zorvi" >"$WORK/program.out" 2>&1
) &
PID=$!
start=$(date +%s)
while :; do
    if grep -qs "Read coupons" "$WORK"/data/ZORVI/logs/*.log; then
        curl -s --max-time 2 "http://127.0.0.1:$PORT/json/list" >"$WORK/pages.json" || true
        if grep -q "\"title\": *\"BINGO\"" "$WORK/pages.json" &&
            grep -q "$PREFIX/usr/share/zorvi/html/en/public_screen.htm" "$WORK/pages.json"; then
            break
        fi
    fi
    if ! kill -0 "$PID" 2>/dev/null; then
        cat "$WORK/program.out"; fail "the program ended during its start-up"
    fi
    if [ $(($(date +%s) - start)) -ge "$WAIT_SECONDS" ]; then
        cat "$WORK/program.out" "$WORK/pages.json" 2>/dev/null || true
        cat "$WORK"/data/ZORVI/logs/*.log 2>/dev/null || true
        fail "the operator window was not ready after $WAIT_SECONDS s"
    fi
    sleep 0.2
done
sleep 1
kill -0 "$PID" 2>/dev/null || { cat "$WORK/program.out"; fail "the program ended after its start-up"; }
echo "The ${INSTALLED:+installed }program started in $(($(date +%s) - start)) s; ending it."
kill -TERM "-$PID" 2>/dev/null || true
wait "$PID" 2>/dev/null || true
# The browser's helper processes and the sound helper end with it.
n=0
while kill -0 "-$PID" 2>/dev/null && [ "$n" -lt 50 ]; do sleep 0.2; n=$((n + 1)); done
if kill -0 "-$PID" 2>/dev/null; then
    kill -KILL "-$PID" 2>/dev/null || true
    fail "processes of the program outlived it by 10 s"
fi
PID=""

if [ -n "$INSTALLED" ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get purge -y -qq zorvi >"$WORK/purge.log" 2>&1 ||
        { cat "$WORK/purge.log"; fail "apt-get purge failed"; }
    INSTALLED=""
    [ ! -e /usr/bin/zorvi ] || fail "/usr/bin/zorvi outlived the purge"
    echo "Purged again."
fi
