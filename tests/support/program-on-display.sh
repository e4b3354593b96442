# Sourced by the scripts that run the real program on a virtual display. Skips (77) without
# the tools, makes a temporary root with a data folder, a program folder and a home, and ends
# the program's whole process group and removes the root however the script ends. The script
# sets GROUP to the group's leader once it has started it.
#
#   . program-on-display.sh NAME [TOOL...]
program_on_display() {
    name=$1
    shift
    for tool in xvfb-run setsid "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "$tool missing"; exit 77; }
    done
    ROOT=$(mktemp -d "${TMPDIR:-/tmp}/zorvi-$name-XXXXXX")
    DATA="$ROOT/xdg/ZORVI"
    mkdir -p "$DATA" "$ROOT/program" "$ROOT/home"
    GROUP=""
    trap program_on_display_finish EXIT INT TERM
}
program_on_display_finish() {
    # A negative number names the group; dash's kill takes no "--" before it.
    if [ -n "$GROUP" ]; then kill -TERM "-$GROUP" 2>/dev/null || true; sleep 1; kill -KILL "-$GROUP" 2>/dev/null || true; fi
    rm -rf "$ROOT"
}
