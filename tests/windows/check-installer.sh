#!/usr/bin/env bash
# usage: check-installer.sh BUILD-WINDOWS: installs the setup program that
# scripts/build-windows made silently under Wine, in a prefix of its own
# inside BUILD-WINDOWS, checks what lands where, starts the installed
# programs with nothing but their own folder to load from, and uninstalls.
set -euo pipefail
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

export WINEPREFIX="$build/wine-setup" WINEDEBUG=-all
# No prompt to install Mono or Gecko; no menu entries on this machine's desktop.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
trap 'wineserver -k 2>/dev/null || true' EXIT
# Fresh each time, so that nothing an earlier run left passes for installed.
rm -rf -- "$WINEPREFIX"
timeout 300 wineboot -i >/dev/null 2>&1 || fail "wineboot -i did not make the prefix"

at='C:\Program Files\Quellis\Tessivar'
maker="$WINEPREFIX/drive_c/Program Files/Quellis"
installed="$maker/Tessivar"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orvane Tessivar.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessivar'

timeout 300 wine "$build/tessivar-$version-setup.exe" /S || fail "setup /S failed"
wineserver -w
diff -r -x uninstall.exe "$build/Tessivar" "$installed" >&2 \
  || fail "the installed folder differs from $build/Tessivar"
[ -f "$installed/uninstall.exe" ] || fail "no uninstall.exe"
[ -f "$entry" ] || fail "no Start-menu entry 'Orvane Tessivar'"

values=$(wine reg query "$key" | tr -d '\r' | sed 's/^ *//; s/   */ /g') || fail "no $key"
while read -r value; do
  grep -qxF "$value" <<<"$values" || fail "$key lacks: $value"
done <<EXPECTED
DisplayName REG_SZ Orvane Tessivar
DisplayVersion REG_SZ $version
Publisher REG_SZ Quellis
UninstallString REG_SZ "$at\\uninstall.exe"
QuietUninstallString REG_SZ "$at\\uninstall.exe" /S
DisplayIcon REG_SZ $at\\tessivar.exe,0
InstallLocation REG_SZ $at
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
EXPECTED
grep -qx 'EstimatedSize REG_DWORD 0x[0-9a-f]*[1-9a-f][0-9a-f]*' <<<"$values" \
  || fail "$key has no EstimatedSize"

said=$(timeout 60 wine "$at\\tessivar-cli.exe" --version | tr -d '\r') || true
[ "$said" = "tessivar-cli $version" ] \
  || fail "the installed tessivar-cli --version said '$said'"

# The window on Windows' own platform plugin, seen by its title; the
# screenshot, with the frame Wine draws where no window manager runs, stays
# for a person to look at. Wine's desktop process, started above with no
# display, must be gone first, or the window has no screen.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$1\\tessivar.exe" &
  for i in $(seq 60); do
    if xdotool search --name "^Orvane Tessivar\$" >/dev/null 2>&1; then
      sleep 1
      import -window root "$2"
      wineserver -k
      exit 0
    fi
    sleep 1
  done
  wineserver -k
  exit 1' check "$at" "$build/check-installer.png" \
  || fail "the installed tessivar.exe showed no window titled 'Orvane Tessivar'"

timeout 120 wine "$at\\uninstall.exe" /S || fail "uninstall.exe /S failed"
wineserver -w
[ ! -e "$maker" ] || fail "left behind: $(cd "$maker" && find . | head -5)"
[ ! -e "$entry" ] || fail "the Start-menu entry is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "$key is left"
echo "check-installer: installed, ran and uninstalled $build/tessivar-$version-setup.exe"
