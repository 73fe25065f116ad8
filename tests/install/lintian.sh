#!/bin/sh
# Builds the Debian package of a finished build in a temporary folder and runs lintian on it, failing on
# any error; then checks that each program's manual page names exactly the options and commands its --help
# lists.
# Usage: lintian.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb)
lintian "$deb" >"$work/lintian.log" 2>&1
cat "$work/lintian.log"
if grep -q '^E:' "$work/lintian.log"; then
    echo "FAIL: lintian reports errors"
    status=1
fi

# Options are the --long and -s names at the start of a help line; commands are the first words of the
# lines under "Commands:".
help_names() {
    QT_QPA_PLATFORM=offscreen "$1" --help 2>/dev/null | awk '
        /^[A-Za-z]/ { section = $0 }
        section == "Options:" && /^  -/ {
            n = split($0, w, /[ ,]+/)
            for (i = 1; i <= n; i++) if (w[i] ~ /^-/) print w[i]; else if (w[i] != "") break
        }
        section == "Commands:" && /^  [a-z]/ { print $1 }'
}
# In the manual page, options are bold \-names and commands the bold first word of a .TP item under
# COMMANDS.
man_names() {
    awk '
        /^\.SH/ { section = $2; next }
        /^\.TP/ { item = 1; next }
        item && section == "OPTIONS" {
            line = $0; gsub(/\\-/, "-", line)
            while (match(line, /\\fB-[-A-Za-z]+\\fR/)) {
                print substr(line, RSTART + 3, RLENGTH - 6); line = substr(line, RSTART + RLENGTH)
            }
        }
        item && section == "COMMANDS" && match($0, /^\\fB[a-z]+\\fR/) { print substr($0, 4, RLENGTH - 6) }
        { item = 0 }' "$1"
}
for program in lexora-editor lexora-dict; do
    help_names "$build/bin/$program" | sort -u >"$work/$program.help"
    man_names "$source/docs/man/$program.1" | sort -u >"$work/$program.man"
    if [ ! -s "$work/$program.help" ]; then
        echo "FAIL: $program --help lists no options"
        status=1
    fi
    for name in $(comm -23 "$work/$program.help" "$work/$program.man"); do
        echo "FAIL: $program --help lists $name, its manual page does not"
        status=1
    done
    for name in $(comm -13 "$work/$program.help" "$work/$program.man"); do
        echo "FAIL: the manual page of $program lists $name, its --help does not"
        status=1
    done
done
exit $status
