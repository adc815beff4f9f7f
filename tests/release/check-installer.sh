#!/bin/sh
# Runs the release installer silently in the build's Wine prefix and takes it away with the Apps
# entry's own silent command, as the system runs it, from no trace of an earlier install.
#
#   check-installer.sh SETUP.exe ASCENDA.SCR VERSION WINE-RUN BUILD installs|uninstalls|uninstalls-a-running-saver
set -eu

setup=$1 packaged=$2 version=$3 wine_run=$4 build=$5
eval "$("$wine_run" --build "$build" --env)"
export DISPLAY WINEPREFIX WINEDEBUG=-all
apps='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\AscendaVintra'
company="HKCU\\Software\\Orvane's Registry Bits"
desktop='HKCU\Control Panel\Desktop'
runonce='HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce'
removal='Ascenda Vintra removal' old_copy='Ascenda Vintra old copy'
other='C:\Users\Someone\Ascenda Vintra\ASCENDA.SCR'
status=0

# A Windows command line, run from a batch file so that its quoted paths survive.
run() { printf '@%s\r\n' "$1" >"$WINEPREFIX/drive_c/check-installer.bat" && wine cmd /c 'C:\check-installer.bat'; }
value() { wine reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z]* *//p" | tr -d '\r'; }
key() { wine reg query "$1" >/dev/null 2>&1 && echo kept || echo gone; }
quietly() { "$@" >/dev/null 2>&1 || true; }
expect() { [ "$2" = "$3" ] || { printf "check-installer.sh: %s is '%s', not '%s'\n" "$1" "$3" "$2" >&2; status=1; }; }
# The uninstaller goes on in a copy of itself, removing itself and then its folder last.
wait_gone() { for _ in $(seq 200); do [ -e "$1" ] || return 0; sleep 0.1; done; return 1; }
uninstall() { run "$(value "$apps" QuietUninstallString)" && wait_gone "$1"; }
install() { wine "$setup" /S || { echo "check-installer.sh: the installer failed" >&2; exit 1; }; }

place=$(run 'echo %LOCALAPPDATA%\Programs\Ascenda Vintra' | tr -d '\r')
folder=$(winepath -u "$place")
# Before and after: no install, no settings, another saver chosen.
clean() {
  rm -rf "$folder" "$WINEPREFIX/drive_c/check-installer.bat"
  quietly wine reg delete "$apps" /f
  quietly wine reg delete "$company" /f
  quietly wine reg delete "$runonce" /v "$removal" /f
  quietly wine reg delete "$runonce" /v "$old_copy" /f
  quietly wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f
}
clean
trap clean EXIT
install

case $6 in
installs)
  cmp "$packaged" "$folder/ASCENDA.SCR" || status=1
  copyright=$(grep -m1 '^Copyright ' "$(dirname "$0")/../../LICENSE")
  for entry in "LegalCopyright=$copyright" "ProductVersion=$version"; do
    expect "the installer's ${entry%%=*}" "${entry#*=}" "$(strings -el "$setup" | grep -A1 -x "${entry%%=*}" | tail -n 1)"
  done
  for entry in "DisplayName=Ascenda Vintra" "Publisher=Orvane's Registry Bits" "DisplayVersion=$version" \
               "DisplayIcon=$place\\ASCENDA.SCR,0" "UninstallString=\"$place\\Uninstall.exe\"" \
               "QuietUninstallString=\"$place\\Uninstall.exe\" /S"; do
    expect "${entry%%=*}" "${entry#*=}" "$(value "$apps" "${entry%%=*}")"
  done
  expect "EstimatedSize >= the saver's kilobytes" yes \
         "$([ $(($(value "$apps" EstimatedSize))) -ge $(($(stat -c %s "$packaged") / 1024)) ] && echo yes)"
  expect "the saver choice" "$other" "$(value "$desktop" SCRNSAVE.EXE)"
  quietly wine reg add "$company\\Ascenda\\Config" /v People /t REG_DWORD /d 42 /f
  echo "an earlier version" >"$folder/ASCENDA.SCR"
  install
  expect "the setting after installing again" 0x2a "$(value "$company\\Ascenda\\Config" People)"
  cmp "$packaged" "$folder/ASCENDA.SCR" || status=1 ;;
uninstalls)
  # The saver choice goes when it names the installed file in any spelling; the company's key
  # goes when nothing else of the company's is left in it.
  short=$(run "for %%I in (\"$place\\ASCENDA.SCR\") do @echo %%~sI" | tr -d '\r')
  for choice in "$(printf %s "$place\\ASCENDA.SCR" | tr a-z A-Z)|gone|gone" "$short|gone|kept" "$other|$other|kept"; do
    registered=${choice%%|*} cleared=${choice#*|} parent=${choice##*|}
    cleared=${cleared%|*}
    [ -d "$folder" ] || install
    quietly wine reg add "$desktop" /v SCRNSAVE.EXE /d "$registered" /f
    quietly wine reg add "$company\\Ascenda\\Counters" /v Resets /t REG_DWORD /d 3 /f
    [ $parent = gone ] || quietly wine reg add "$company\\Another Program" /f
    uninstall "$folder" || status=1
    expect "the folder, after $registered" gone "$([ -e "$folder" ] && echo kept || echo gone)"
    expect "the Apps entry, after $registered" gone "$(key "$apps")"
    expect "the settings, after $registered" gone "$(key "$company\\Ascenda")"
    expect "the company's key, after $registered" $parent "$(key "$company")"
    expect "the saver choice $registered" "${cleared#gone}" "$(value "$desktop" SCRNSAVE.EXE)"
  done ;;
uninstalls-a-running-saver)
  # A running saver keeps its file until the next sign-in. Installing again takes that removal back
  # and moves the running file aside for the new one; uninstalling then leaves the old copy, with
  # the folder, to the next sign-in.
  wine "$folder/ASCENDA.SCR" /s &
  saver=$!
  for _ in $(seq 100); do grep -qs ASCENDA.SCR /proc/$saver/maps && break; sleep 0.1; done
  uninstall "$folder/Uninstall.exe" || status=1
  expect "the running saver" running "$(kill -0 $saver 2>/dev/null && echo running)"
  expect "the Apps entry" gone "$(key "$apps")"
  install
  expect "the removal at the next sign-in, after installing again" "" "$(value "$runonce" "$removal")"
  cmp "$packaged" "$folder/ASCENDA.SCR" || status=1
  expect "the old copy's removal" set "$([ -n "$(value "$runonce" "$old_copy")" ] && echo set)"
  uninstall "$folder/Uninstall.exe" || status=1
  expect "the old copy's own removal, after uninstalling" "" "$(value "$runonce" "$old_copy")"
  kill $saver
  wait $saver || true
  # Wine's server lets go of a killed process's file a moment after the process is gone, and a
  # sign-in comes long after: the removal is run again until it has worked, for ten seconds.
  command=$(value "$runonce" "$removal")
  for _ in $(seq 20); do run "$command" >/dev/null 2>&1; [ -e "$folder" ] || break; sleep 0.5; done
  expect "the folder after the next sign-in" gone "$([ -e "$folder" ] && echo kept || echo gone)" ;;
esac
exit $status
