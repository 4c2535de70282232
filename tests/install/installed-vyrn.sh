#!/usr/bin/env bash
# Installs the built VYRN into a temporary prefix and starts the installed program on
# the offscreen platform with a temporary HOME and XDG_CONFIG_HOME: its files must go
# to $XDG_CONFIG_HOME/vyrn, never beside the program in bin/.
set -euo pipefail
build=${1:?build folder}
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in bin/vyrn share/applications/vyrn.desktop share/icons/hicolor/scalable/apps/vyrn.svg; do
  [ -f "$work/prefix/$f" ] || fail "cmake --install left out $f"
done

mkdir -p "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
# Starts the installed VYRN in the background; it runs until killed.
start() {
  env -i PATH="$PATH" HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    QT_QPA_PLATFORM=offscreen "$work/prefix/bin/vyrn" >"$work/out.txt" 2>&1 &
  pid=$!
}
stop() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=; }
# Waits up to 20 s for a shell condition.
await() { for _ in $(seq 200); do eval "$1" && return 0; sleep 0.1; done; return 1; }

# A new user: the first-time setup opens, and the configuration folder is made for it.
start
await '[ -d "$work/config/vyrn" ]' || fail "no $work/config/vyrn after start: $(cat "$work/out.txt")"
stop
[ "$(ls -A "$work/prefix/bin")" = vyrn ] || fail "files written beside the program: $(ls -A "$work/prefix/bin")"

# A user with settings: start-up reads them there and rewrites vyrn.ini (line 6 "True").
printf 'a\nb\n' >"$work/config/vyrn/vyrn.ini"
start
await 'grep -q True "$work/config/vyrn/vyrn.ini"' || fail "vyrn.ini not rewritten: $(cat "$work/out.txt")"
stop
printf 'a\nb\n\n\n\nTrue\n\n\n' >"$work/expected"
cmp -s "$work/expected" "$work/config/vyrn/vyrn.ini" || fail "vyrn.ini is $(od -c "$work/config/vyrn/vyrn.ini")"
[ "$(ls -A "$work/prefix/bin")" = vyrn ] || fail "files written beside the program"
echo "installed VYRN keeps its files in \$XDG_CONFIG_HOME/vyrn"
