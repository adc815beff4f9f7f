#!/bin/sh
# Runs the release installer in the build's Wine prefix and takes it away with the Apps entry's own
# commands, as the system runs them, from no trace of an earlier install. Every wait polls for what
# it waits for, with a generous ceiling.
#
#   check-installer.sh SETUP.exe ASCENDA.SCR VERSION WINE-RUN BUILD PRESS-BUTTON.exe CASE
#
# CASE: installs, uninstalls, keeps-its-folder, upgrades-over-running-copies,
#       uninstalls-a-running-saver, uninstalls-while-the-settings-are-open
set -eu

setup=$1 packaged=$2 version=$3 wine_run=$4 build=$5 press=$6
eval "$("$wine_run" --build "$build" --env)"
export DISPLAY WINEPREFIX WINEDEBUG=-all
apps='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\AscendaVintra'
company="HKCU\\Software\\Orvane's Registry Bits"
settings="$company\\Ascenda"
desktop='HKCU\Control Panel\Desktop'
runonce='HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce'
removal='Ascenda Vintra removal' settings_removal='Ascenda Vintra settings removal'
old_copy='Ascenda Vintra old copy'
other='C:\Users\Someone\Ascenda Vintra\ASCENDA.SCR'
# Windows' longest user name, 20 characters, in a profile that has no Programs folder yet.
long_user='C:\users\Longest-User-Name-20'
# The uninstaller's exit code when part of the removal waits for the next sign-in.
waits=3010
status=0

drive=$WINEPREFIX/drive_c
# A Windows command line, run from a batch file so that its quoted paths survive.
run() { printf '@%s\r\n' "$1" >"$drive/check-installer.bat" && wine cmd /c 'C:\check-installer.bat'; }
# The same, printing only the program's exit code, in full (Wine's cmd passes on only its low byte).
# Into a file, not a pipe, which would also wait for any process the program leaves running; a
# new file each time, as such a process may still hold the one before.
code() {
  output=$drive/check-installer.$(date +%s%N).out
  printf '@%s\r\n@echo %%errorlevel%%\r\n' "$1" >"$drive/check-installer.bat"
  wine cmd /c 'C:\check-installer.bat' >"$output" || true
  tail -n 1 "$output" | tr -d '\r'
}
# A sign-in command as Windows starts it: cmd.exe gets the rest of its line whole. Quoted once more,
# that rest leaves the batch file's own cmd its & and && alone, and cmd /c takes the quotes off.
sign_in() {
  case $1 in
    *'cmd.exe" /c '*) run "${1%%\" /c *}\" /c \"${1#*\" /c }\"" ;;
    *) run "$1" ;;
  esac
}
value() { wine reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z]* *//p" | tr -d '\r'; }
key() { wine reg query "$1" >/dev/null 2>&1 && echo kept || echo gone; }
there() { [ -e "$1" ] && echo kept || echo gone; }
quietly() { "$@" >/dev/null 2>&1 || true; }
expect() { [ "$2" = "$3" ] || { printf "check-installer.sh: %s is '%s', not '%s'\n" "$1" "$3" "$2" >&2; status=1; }; }
# Polls the command for up to 20 seconds.
within() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }
absent() { [ ! -e "$1" ]; }
maps() { grep -qs ASCENDA.SCR "/proc/$1/maps"; }
# Installs silently, with the installer's further arguments (/D=...).
install() {
  expect "the installer's exit code" 0 "$(code "C:\\check-setup.exe /S${1:+ $1}")"
}
# The Apps entry's silent command, which returns once it has done what it can: prints its exit code.
uninstall() { code "$(value "$apps" QuietUninstallString)"; }
# Starts the installed saver with a switch; prints the Linux process.
start_saver() {
  wine "$1/ASCENDA.SCR" "$2" >/dev/null 2>&1 &
  within maps $! || echo "check-installer.sh: the saver did not start" >&2
  echo $!
}
# The inode of the file a running saver maps: where it was moved to, as the system sees it.
moved_aside() {
  for copy in "$1"/ASCENDA.SCR.old*; do [ "$(stat -c %i "$copy" 2>/dev/null)" = "$2" ] && return 0; done
  return 1
}
press() { "$wine_run" --build "$build" -- "$press" "$@" || { echo "check-installer.sh: no '$1' to press $2 on" >&2; status=1; }; }
# Whether an uninstaller runs in this prefix: it, or NSIS's copy of it, has "_?=" on its command
# line (the hidden command that deletes its file afterwards is cmd.exe's).
uninstaller_runs() {
  for process in /proc/[0-9]*; do
    { tr '\0' '\n' <"$process/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null || continue
    case $(tr '\0' ' ' <"$process/cmdline" 2>/dev/null) in
      *cmd.exe*) ;;
      *'_?='*) return 0 ;;
    esac
  done
  return 1
}
stop() { kill "$@" 2>/dev/null; for process in "$@"; do wait "$process" 2>/dev/null || true; done; }

place=$(run 'echo %LOCALAPPDATA%\Programs\Ascenda Vintra' | tr -d '\r')
folder=$(winepath -u "$place")
temp=$(winepath -u "$(run 'echo %TEMP%' | tr -d '\r')")
custom='C:\My Stuff\Savers'
# Before and after: no install, no settings, another saver chosen.
clean() {
  rm -rf "$folder" "$drive/My Stuff" "$(winepath -u "$long_user")" "$drive"/check-installer.* "$drive/check-setup.exe"
  quietly wine reg delete "$apps" /f
  quietly wine reg delete "$company" /f
  for name in "$removal" "$settings_removal" "$old_copy"; do quietly wine reg delete "$runonce" /v "$name" /f; done
  quietly wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f
}
clean
trap clean EXIT
cp "$setup" "$drive/check-setup.exe"

case $7 in
installs)
  install
  cmp "$packaged" "$folder/ASCENDA.SCR" || status=1
  sed 's/$/\r/' "$(dirname "$0")/../../LICENSE" | cmp - "$folder/LICENSE.txt" || status=1
  copyright=$(grep -m1 '^Copyright ' "$(dirname "$0")/../../LICENSE")
  for entry in "LegalCopyright=$copyright" "ProductVersion=$version"; do
    expect "the installer's ${entry%%=*}" "${entry#*=}" "$(strings -el "$setup" | grep -A1 -x "${entry%%=*}" | tail -n 1)"
  done
  for entry in "DisplayName=Ascenda Vintra" "Publisher=Orvane's Registry Bits" "DisplayVersion=$version" \
               "DisplayIcon=$place\\ASCENDA.SCR,0" "UninstallString=\"$place\\Uninstall.exe\" _?=$place" \
               "QuietUninstallString=\"$place\\Uninstall.exe\" /S _?=$place" "InstallLocation=$place"; do
    expect "${entry%%=*}" "${entry#*=}" "$(value "$apps" "${entry%%=*}")"
  done
  expect "EstimatedSize >= the saver's kilobytes" yes \
         "$([ $(($(value "$apps" EstimatedSize))) -ge $(($(stat -c %s "$packaged") / 1024)) ] && echo yes)"
  expect "the saver choice" "$other" "$(value "$desktop" SCRNSAVE.EXE)"
  quietly wine reg add "$settings\\Config" /v People /t REG_DWORD /d 42 /f
  echo "an earlier version" >"$folder/ASCENDA.SCR"
  install
  expect "the setting after installing again" 0x2a "$(value "$settings\\Config" People)"
  cmp "$packaged" "$folder/ASCENDA.SCR" || status=1 ;;
uninstalls)
  # The saver choice goes when it names the installed file in any spelling; the company's key
  # goes when nothing else of the company's is left in it. A script that waits for the silent
  # command finds everything gone but the uninstaller's own file, which goes as it ends, and
  # nothing left in %TEMP%.
  before=$(ls -A "$temp")
  same_temp() { [ "$(ls -A "$temp")" = "$before" ]; }
  install
  short=$(run "for %%I in (\"$place\\ASCENDA.SCR\") do @echo %%~sI" | tr -d '\r')
  for choice in "$(printf %s "$place\\ASCENDA.SCR" | tr a-z A-Z)|gone|gone" "$short|gone|kept" "$other|$other|kept"; do
    registered=${choice%%|*} cleared=${choice#*|} parent=${choice##*|}
    cleared=${cleared%|*}
    [ -d "$folder" ] || install
    quietly wine reg add "$desktop" /v SCRNSAVE.EXE /d "$registered" /f
    quietly wine reg add "$settings\\Counters" /v Resets /t REG_DWORD /d 3 /f
    [ $parent = gone ] || quietly wine reg add "$company\\Another Program" /f
    expect "the uninstaller's exit code" 0 "$(uninstall)"
    expect "an uninstaller, as the command returns" ended "$(uninstaller_runs && echo running || echo ended)"
    expect "the saver, as the uninstaller returns" gone "$(there "$folder/ASCENDA.SCR")"
    expect "the licence, as the uninstaller returns" gone "$(there "$folder/LICENSE.txt")"
    expect "the Apps entry, after $registered" gone "$(key "$apps")"
    expect "the settings, after $registered" gone "$(key "$settings")"
    expect "the company's key, after $registered" $parent "$(key "$company")"
    expect "the saver choice $registered" "${cleared#gone}" "$(value "$desktop" SCRNSAVE.EXE)"
    within absent "$folder" || expect "the folder, after $registered" gone kept
    within same_temp || expect "%TEMP% after uninstalling" "$before" "$(ls -A "$temp")"
  done ;;
keeps-its-folder)
  # Installed with /D into a folder whose parent it makes too, chosen as the screen saver, then
  # installed again and upgraded without /D: one copy, in that folder. Uninstalling removes the
  # folders it made, unless the user has put something of their own there.
  folder=$(winepath -u "$custom")
  for own in "" notes.txt; do
    install "/D=$custom"
    quietly wine reg add "$desktop" /v SCRNSAVE.EXE /d "$custom\\ASCENDA.SCR" /f
    install
    echo "an earlier version" >"$folder/ASCENDA.SCR"
    install
    cmp "$packaged" "$folder/ASCENDA.SCR" || status=1
    expect "the default folder" gone "$(there "$(winepath -u "$place")")"
    expect "the Apps entry's folder" "$custom" "$(value "$apps" InstallLocation)"
    expect "the chosen saver" kept "$(there "$(winepath -u "$(value "$desktop" SCRNSAVE.EXE)")")"
    [ -z "$own" ] || echo "mine" >"$(dirname "$folder")/$own"
    expect "the uninstaller's exit code" 0 "$(uninstall)"
    within absent "$folder" || expect "the /D folder" gone kept
    expect "the parent it made, holding '$own'" "$([ -n "$own" ] && echo kept || echo gone)" \
           "$(there "$(dirname "$folder")")"
    [ -z "$own" ] || expect "the user's own file" mine "$(cat "$(dirname "$folder")/$own" 2>/dev/null)"
    rm -rf "$drive/My Stuff"
  done ;;
upgrades-over-running-copies)
  # Each upgrade finds the copy before it running (the settings dialog), and the one before that
  # still running from where the first upgrade moved it. Wine would let an overwrite through, so
  # the running file itself must be found under a new name.
  install
  running=
  for upgrade in 1 2; do
    saver=$(start_saver "$folder" /c)
    running="$running $saver"
    inode=$(stat -c %i "$folder/ASCENDA.SCR")
    install
    cmp "$packaged" "$folder/ASCENDA.SCR" || status=1
    expect "running copy $upgrade" "moved aside" "$(moved_aside "$folder" "$inode" && echo "moved aside")"
  done
  # shellcheck disable=SC2086
  stop $running
  # Wine's server lets go of a killed process's file a moment after the process is gone, and a
  # sign-in comes long after: the command is run again until it has worked.
  command=$(value "$runonce" "$old_copy")
  old_copies_gone() { sign_in "$command" >/dev/null 2>&1; ! ls "$folder"/ASCENDA.SCR.old* >/dev/null 2>&1; }
  within old_copies_gone || expect "the old copies after the next sign-in" gone "$(ls "$folder")"
  cmp "$packaged" "$folder/ASCENDA.SCR" || status=1 ;;
uninstalls-a-running-saver)
  # For the longest user name. A running saver keeps its file, and the settings it may still write,
  # until the next sign-in, whose commands stay within Windows' limit of 260 characters. Installing
  # again takes that removal back and moves the running file aside; uninstalling then leaves the old
  # copy, with the folder, to the next sign-in.
  place="$long_user\\AppData\\Local\\Programs\\Ascenda Vintra"
  folder=$(winepath -u "$place")
  programs=$(dirname "$folder")
  mkdir -p "$(dirname "$programs")"
  install "/D=$place"
  saver=$(start_saver "$folder" /s)
  expect "the uninstaller's exit code" $waits "$(uninstall)"
  # Its own file goes as it ends; a user installs again later than that.
  within absent "$folder/Uninstall.exe" || expect "the uninstaller" gone kept
  expect "the running saver" running "$(kill -0 "$saver" 2>/dev/null && echo running)"
  expect "the Apps entry" gone "$(key "$apps")"
  for name in "$removal" "$settings_removal"; do
    expect "the length of '$name' within 260" yes "$(value "$runonce" "$name" | awk '{ print (length($0) > 0 && length($0) <= 260) ? "yes" : length($0) }')"
  done
  inode=$(stat -c %i "$folder/ASCENDA.SCR")
  install "/D=$place"
  expect "the removal at the next sign-in, after installing again" "" "$(value "$runonce" "$removal")"
  expect "the settings' removal, after installing again" "" "$(value "$runonce" "$settings_removal")"
  cmp "$packaged" "$folder/ASCENDA.SCR" || status=1
  expect "the running saver" "moved aside" "$(moved_aside "$folder" "$inode" && echo "moved aside")"
  expect "the uninstaller's exit code, the old copy running" $waits "$(uninstall)"
  expect "the old copy's own removal, after uninstalling" "" "$(value "$runonce" "$old_copy")"
  quietly wine reg add "$settings\\Config" /v People /t REG_DWORD /d 42 /f
  stop "$saver"
  command=$(value "$runonce" "$removal")
  signed_in() { sign_in "$command" >/dev/null 2>&1; [ ! -e "$programs" ]; }
  within signed_in || expect "the folder and the Programs folder after the next sign-in" gone kept
  expect "the profile's own folder" kept "$(there "$(dirname "$programs")")"
  sign_in "$(value "$runonce" "$settings_removal")" >/dev/null
  expect "the settings after the next sign-in" gone "$(key "$settings")" ;;
uninstalls-while-the-settings-are-open)
  # The settings dialog is open when Uninstall is clicked; it is closed with OK, which writes the
  # settings, and then Retry is clicked. The settings go after that, and only then is the uninstall
  # called complete.
  install
  dialog=$(start_saver "$folder" /c)
  : >"$drive/uninstalled"
  (code "$(value "$apps" UninstallString)" >"$drive/uninstalled") &
  uninstaller=$!
  press "Ascenda Vintra $version Uninstall*" 1
  press "Ascenda Vintra $version Uninstall" 4 wait
  # The greeting, the monthly reminder, then the settings themselves.
  press "Ascenda Vintra" 1
  press "Ascenda Vintra" 1
  press "Ascenda Vintra Screen Saver" 1
  within eval '! kill -0 "$dialog" 2>/dev/null' || expect "the settings dialog" closed open
  expect "the settings it wrote" 9 "$(wine reg query "$settings\\Config" 2>/dev/null | grep -c REG_DWORD)"
  press "Ascenda Vintra $version Uninstall" 4
  press "Ascenda Vintra $version Uninstall*" 1
  wait "$uninstaller" || true
  expect "the uninstaller's exit code" 0 "$(cat "$drive/uninstalled")"
  expect "the settings" gone "$(key "$settings")"
  rm -f "$drive/uninstalled" ;;
esac
exit $status
