#!/bin/sh
# usage: check-package.sh SOURCE BUILD VERSION CLI: the Debian package of
# the Release build BUILD passes lintian and holds what an install lays out;
# unpacked into a fresh root it runs on its own, says VERSION, and inspects
# the demo as CLI, the tested build's, does.
set -eu
deb="$2/tessivar_$3_$(dpkg --print-architecture).deb"
root=$(mktemp -d)
trap 'rm -rf -- "$root"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
lintian --fail-on error "$deb" || fail "lintian finds errors in $deb"

dpkg-deb -x "$deb" "$root"
for file in bin/tessivar bin/tessivar-cli bin/tessivar-boardsim \
  share/applications/tessivar.desktop share/icons/hicolor/scalable/apps/tessivar.svg \
  share/man/man1/tessivar.1.gz share/man/man1/tessivar-cli.1.gz \
  share/man/man1/tessivar-boardsim.1.gz share/tessivar/help/index.html \
  share/doc/tessivar/copyright share/doc/tessivar/changelog.gz; do
  [ -f "$root/usr/$file" ] || fail "the package has no /usr/$file"
done
# Qt keeps its string literals in UTF-16: both kinds of text are searched.
{
  find "$root" -type f -exec strings -a -f {} +
  find "$root" -type f -exec strings -a -f -e l {} +
} | grep -F -e "$1" -e "$2" && fail "the files above name the trees the package was built from"

unset LD_LIBRARY_PATH
export XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/data"
cli="$root/usr/bin/tessivar-cli"
version=$("$cli" --version) || fail "the packaged tessivar-cli does not run"
[ "$version" = "tessivar-cli $3" ] || fail "the packaged tessivar-cli says '$version'"
demo="$1/examples/demo-unit.s19"
"$cli" inspect "$demo" >"$root/packaged.txt" || fail "the packaged tessivar-cli cannot inspect $demo"
"$4" inspect "$demo" >"$root/tested.txt"
diff -u "$root/tested.txt" "$root/packaged.txt" \
  || fail "the packaged tessivar-cli inspects $demo otherwise than the tested one"
