#!/usr/bin/env bash
# Builds the Debian package from the build's own program into a temporary folder and holds
# what it installs to Debian's checkers: lintian, appstreamcli, desktop-file-validate, man.
# Any finding fails. The manual page and the bash completion must name the options
# `vyrn --help` names, no more and no fewer.
set -euo pipefail
build=${1:?build folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/out/vyrn_*.deb)
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

# lintian: errors, warnings and info tags alike (pedantic ones aside).
lintian --info --display-info --fail-on error,warning,info "$deb" >"$work/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.txt")"
grep -v '^N:\|^$\|root privileges' "$work/lintian.txt" | grep . && fail "lintian reports the above"

# lintian reports a missing copyright or changelog; each check below fails without its file.
for size in 16 24 32 48 64 128 256; do
  file "$usr/share/icons/hicolor/${size}x$size/apps/vyrn.png" | grep -q "PNG image data, $size x $size," ||
    fail "no ${size}x$size PNG icon"
done

appstreamcli validate --pedantic --no-net --no-color "$usr/share/metainfo/org.example.vyrn.metainfo.xml" \
  >"$work/appstream.txt" 2>&1 || fail "appstreamcli: $(cat "$work/appstream.txt")"
grep -q '^✔ Validation was successful.$' "$work/appstream.txt" || fail "appstreamcli: $(cat "$work/appstream.txt")"

desktop=$(desktop-file-validate "$usr/share/applications/vyrn.desktop" 2>&1) || fail "desktop-file-validate: $desktop"
[ -z "$desktop" ] || fail "desktop-file-validate: $desktop"

page=$(MANWIDTH=80 man --warnings -l "$usr/share/man/man1/vyrn.1.gz" 2>"$work/man.txt")
[ ! -s "$work/man.txt" ] || fail "man: $(cat "$work/man.txt")"

# The options each of them names, one a line, sorted.
options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
help=$("$build/vyrn" --help | options)
[ -n "$help" ] || fail "vyrn --help names no option"
[ "$(options <<<"$page")" = "$help" ] || fail "the manual page and vyrn --help differ: $(diff <(options <<<"$page") - <<<"$help")"
completed=$(bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
  for line in "vyrn " "vyrn --query " "vyrn --master " "vyrn --history "; do
    read -ra COMP_WORDS <<<"$line"; COMP_WORDS+=(""); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line; COMP_POINT=${#line}; _vyrn; printf "%s\n" "${COMPREPLY[@]}"
  done' _ "$usr/share/bash-completion/completions/vyrn" | options)
[ "$completed" = "$help" ] || fail "bash completion and vyrn --help differ: $(diff - <(echo "$help") <<<"$completed")"
echo "the package is clean; the manual page and the completion name the options of vyrn --help"
