#!/bin/sh
# Walks through the installer's pages, and then the uninstaller's, in a 1024 x 768 virtual
# display and a fresh Wine prefix, taking a picture of each page, as a user clicks through them:
#
#   tools/screenshot-installer.sh [SETUP.exe]    default: the one tools/release.sh built
#
# The pictures go to build/release/screens/ (1-welcome.png ... 5-removed.png); the README's
# docs/ascenda-installer.png is the welcome page's window. It checks what the finish page's ticked
# box did: the installed saver is the user's screen saver. Then it installs again, opens the
# saver's settings and uninstalls: the question while they are open (6-in-use.png) and, cancelled,
# the last page that leaves the rest to the next sign-in (7-at-sign-in.png).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
setup=${1:-$(ls "$root"/build/release/ascenda-vintra-*-windows-x64-setup.exe 2>/dev/null | tail -n 1)}
[ -f "$setup" ] || { echo "screenshot-installer.sh: no installer; run tools/release.sh first" >&2; exit 1; }
screens=$root/build/release/screens
rm -rf "$screens"
mkdir -p "$screens"

export WINEPREFIX="$screens/wineprefix" WINEDEBUG=-all WINEARCH=win64
setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$screens/display" </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
for _ in $(seq 50); do [ -s "$screens/display" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$screens/display")
export DISPLAY
WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot --init >/dev/null 2>&1
# Wine draws the frames itself, with its own fonts, as cmake/wine-run.sh sets up its prefix.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
cp -n /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
cp "$setup" "$WINEPREFIX/drive_c/setup.exe"

# Waits up to ten seconds for the screen to change from the last picture and settle, then keeps
# it as the named picture.
last=$screens/last.rgb
: >"$last"
shoot() {
  for _ in $(seq 100); do
    import -window root rgb:"$screens/now.rgb"
    cmp -s "$screens/now.rgb" "$last" || break
    sleep 0.1
  done
  sleep 0.5
  import -window root rgb:"$last"
  import -window root "$screens/$1.png"
}

wine 'C:\setup.exe' >/dev/null 2>&1 &
installer=$!
shoot 1-welcome
xdotool key Return && shoot 2-licence
xdotool key Return && shoot 3-finish
xdotool key Return
wait $installer
import -window root rgb:"$last"
desktop=$(wine reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
case $desktop in
  *'\Programs\Ascenda Vintra\ASCENDA.SCR') ;;
  *) echo "screenshot-installer.sh: the finish page did not select the saver (SCRNSAVE.EXE: $desktop)" >&2; exit 1 ;;
esac
# The Apps entry's own command, from a batch file so that its quoting survives.
uninstall() {
  wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\AscendaVintra' /v UninstallString |
    sed -n 's/.*REG_SZ *\(.*\)/@\1/p' >"$WINEPREFIX/drive_c/uninstall.bat"
  wine cmd /c 'C:\uninstall.bat' >/dev/null 2>&1
}
uninstall &
uninstaller=$!
shoot 4-uninstall
xdotool key Return && shoot 5-removed
xdotool key Return
wait $uninstaller || true
# Its own Uninstall.exe and the folder go a moment after it ends; a user installs again later.
folder=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%\Programs\Ascenda Vintra' | tr -d '\r')")
for _ in $(seq 100); do [ -e "$folder" ] || break; sleep 0.1; done

wine 'C:\setup.exe' /S
wine "$folder/ASCENDA.SCR" /c >/dev/null 2>&1 &
settings=$!
# Each window in turn, found by its title: the greeting of the settings, the uninstaller (a space
# ends its title), then its question, which comes after two seconds of trying.
appears() { timeout 30 xdotool search --sync --name "$1" >/dev/null; }
appears '^Ascenda Vintra$'
uninstall &
uninstaller=$!
appears '^Ascenda Vintra [0-9.]* Uninstall $'
shoot 6-uninstall
xdotool key Return
appears '^Ascenda Vintra [0-9.]* Uninstall$'
shoot 6-in-use
xdotool key Escape && shoot 7-at-sign-in
xdotool key Return
wait $uninstaller || true
kill $settings 2>/dev/null || true
rm -f "$screens/6-uninstall.png"

convert "$screens/1-welcome.png" -trim +repage -define png:exclude-chunks=date,time "$root/docs/ascenda-installer.png"
echo "$screens"
