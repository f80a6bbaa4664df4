#!/bin/sh
# usage: check-install.sh BUILD [man]: installs BUILD into a fresh prefix;
# with "man", the build made the man page and it must render.
set -eu
prefix=$(mktemp -d)
trap 'rm -rf -- "$prefix"' EXIT
export XDG_CONFIG_HOME="$prefix/config" XDG_DATA_HOME="$prefix/data"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
cmake --install "$1" --prefix "$prefix" >/dev/null

for program in tessivar tessivar-cli tessivar-boardsim; do
  [ -f "$prefix/bin/$program" ] && [ -x "$prefix/bin/$program" ] || fail "no bin/$program"
done
"$prefix/bin/tessivar-cli" --version >/dev/null || fail "the installed tessivar-cli does not run"

entry="$prefix/share/applications/tessivar.desktop"
[ -f "$entry" ] || fail "no desktop entry"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/bin/$exec" ] || fail "the desktop entry runs '$exec', which is not installed"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] \
  || fail "the desktop entry shows icon '$icon', which is not installed"

if [ "${2:-}" = man ]; then
  # The verbs' own help makes a subsection each.
  man -l "$prefix/share/man/man1/tessivar-cli.1" | grep -qx ' *upload' \
    || fail "the man page does not render the upload verb"
fi
