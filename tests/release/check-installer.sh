#!/bin/sh
# Runs the release installer in the build's Wine prefix and takes it away with the Apps entry's own
# commands, as the system runs them, from no trace of an earlier install. Every wait polls for what
# it waits for, with a generous ceiling.
#
#   check-installer.sh SETUP.exe ASCENDA.SCR VERSION WINE-RUN BUILD CASE
#
# CASE: installs, uninstalls, keeps-its-folder, running-copies, uninstalls-while-the-settings-are-open
#
# A BUILD folder without a CMakeCache.txt is the case's own: its Wine prefix is made afresh.
set -eu

setup=$1 packaged=$2 version=$3 wine_run=$4 build=$5
fresh=$([ -f "$build/CMakeCache.txt" ] || echo yes)
[ -z "$fresh" ] || { "$wine_run" --build "$build" --stop; rm -rf "$build"; }
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
# Windows' longest user name, 20 characters; 3010, the uninstaller's exit code when part of the
# removal waits for the next sign-in.
long_user='C:\users\Longest-User-Name-20' waits=3010
status=0

drive=$WINEPREFIX/drive_c
# A Windows command line, run from a batch file so that its quoted paths survive.
run() { printf '@%s\r\n' "$1" >"$drive/check-installer.bat" && wine cmd /c 'C:\check-installer.bat'; }
# Its exit code in full (Wine's cmd passes on only the low byte), read from a new file: a pipe
# would also wait for any process the program leaves running, which may hold the file before.
code() {
  output=$drive/check-installer.$(date +%s%N).out
  printf '@%s\r\n@echo %%errorlevel%%\r\n' "$1" >"$drive/check-installer.bat"
  wine cmd /c 'C:\check-installer.bat' >"$output" || true
  tail -n 1 "$output" | tr -d '\r'
}
# A sign-in command as Windows starts it, cmd.exe getting the rest of its line whole: quoted once
# more, that rest leaves the batch file's own cmd its & and && alone, and cmd /c unquotes it.
sign_in() { case $1 in *'cmd.exe" /c '*) set -- "${1%%\" /c *}\" /c \"${1#*\" /c }\"" ;; esac; run "$1" >/dev/null 2>&1; }
value() { wine reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z]* *//p" | tr -d '\r'; }
key() { wine reg query "$1" >/dev/null 2>&1 && echo kept || echo gone; }
there() { [ -e "$1" ] && echo kept || echo gone; }
quietly() { "$@" >/dev/null 2>&1 || true; }
expect() { [ "$2" = "$3" ] || { printf "check-installer.sh: %s is '%s', not '%s'\n" "$1" "$3" "$2" >&2; status=1; }; }
# Polls the command for up to 20 seconds.
within() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }
absent() { [ ! -e "$1" ]; }
maps() { grep -qs ASCENDA.SCR "/proc/$1/maps"; }
install() { expect "the installer's exit code" 0 "$(code "C:\\check-setup.exe /S${1:+ $1}")"; }
uninstall() { code "$(value "$apps" QuietUninstallString)"; }
# Opens the installed saver's settings; prints the Linux process.
start_saver() { wine "$folder/ASCENDA.SCR" /c >/dev/null 2>&1 & within maps $! || echo "no saver" >&2; echo $!; }
# Whether the file of inode (a running copy's) now has an old copy's name.
moved_aside() { for copy in "$folder"/ASCENDA.SCR.old*; do [ "$(stat -c %i "$copy")" = "$1" ] && return; done; return 1; }
# Clicks the caption of the newest window titled as the pattern, as a user brings it forward, and
# presses Return, its default button, every five seconds until the window has gone or the command
# given holds.
press() {
  pattern=$1 && shift && window=$(timeout 30 xdotool search --sync --onlyvisible --name "$pattern" | tail -n 1) || true
  for tenth in $(seq 300); do
    [ $((tenth % 50)) != 1 ] || xdotool windowraise "$window" mousemove --window "$window" 60 8 click 1 key Return || true
    xwininfo -id "$window" 2>/dev/null | grep -q IsViewable && { [ $# = 0 ] || ! "$@" >/dev/null 2>&1; } || return 0
    sleep 0.1
  done
  expect "the window '$pattern' after Return" gone kept
}
# The hidden command an uninstaller run in place leaves to delete its own file, and its ping.
clean_up() { for process in /proc/[0-9]*; do grep -qsxzF "WINEPREFIX=$WINEPREFIX" "$process/environ" &&
  tr '\0' ' ' <"$process/cmdline" 2>/dev/null | grep -qi 'ping -n' && echo "${process#/proc/}"; done; true; }
cleaned_up() { [ -z "$(clean_up)" ]; }
stop() { kill "$@" 2>/dev/null; for process in "$@"; do wait "$process" 2>/dev/null || true; done; }

place=$(run 'echo %LOCALAPPDATA%\Programs\Ascenda Vintra' | tr -d '\r')
folder=$(winepath -u "$place")
temp=$(winepath -u "$(run 'echo %TEMP%' | tr -d '\r')")
custom='C:\My Stuff\Savers'
# Before and after: no install, no settings, another saver chosen.
clean() {
  rm -rf "$folder" "$drive/My Stuff" "$(winepath -u "$long_user")" "$drive"/check-* "$drive/uninstalled"
  quietly wine reg delete "$apps" /f
  quietly wine reg delete "$company" /f
  for name in "$removal" "$settings_removal" "$old_copy"; do quietly wine reg delete "$runonce" /v "$name" /f; done
  quietly wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f
}
clean
trap 'clean; [ -z "$fresh" ] || "$wine_run" --build "$build" --stop' EXIT
cp "$setup" "$drive/check-setup.exe"

case $6 in
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
  # Three ways, each with the saver choice in another spelling: the waiting form exactly as
  # README.txt (and README.md) gives it, in a batch file whose very next lines find the folder, the
  # Apps entry and the settings gone and %TEMP% as before, with nothing of ours left running; the
  # Apps entry's silent command, which returns with all gone but Uninstall.exe and its folder,
  # which follow; and without "_?=", which returns at once and goes on in NSIS's own copy. The saver
  # choice goes when it names the installed file in any spelling; the company's key goes when
  # nothing else of the company's is left in it. Nothing is left in %TEMP%.
  waiting=$(sed -n '/^  copy \/y /,/^  del /s/^  //p' "$(dirname "$0")/../../packaging/README.txt")
  expect "README.md's form" "$waiting" "$(sed -n '/^    copy \/y /,/^    del /s/^    //p' "$(dirname "$0")/../../README.md")"
  found='if errorlevel 1 (echo gone) else echo kept'
  printf '%s\n' '@echo off' "$waiting" "if exist \"$place\" (echo kept) else echo gone" "reg query \"$apps\" >nul 2>&1" \
    "$found" "reg query \"$settings\" >nul 2>&1" "$found" 'echo %code%' 'dir /a /b "%TEMP%"' | sed 's/$/\r/' >"$drive/check-waits.bat"
  # Windows programs of this prefix (a drive starts their command lines) that name us; the waiting
  # form comes first, so that no earlier way's are still about.
  ours() { for process in /proc/[0-9]*; do grep -qsxzF "WINEPREFIX=$WINEPREFIX" "$process/environ" &&
    tr '\0' ' ' <"$process/cmdline" 2>/dev/null | grep -qi '^[a-z]:\\.*ascenda' && echo "$process"; done; }
  before=$(ls -A "$temp" | sort)
  same_temp() { [ "$(ls -A "$temp" | sort)" = "$before" ]; }
  install
  short=$(run "for %%I in (\"$place\\ASCENDA.SCR\") do @echo %%~sI" | tr -d '\r')
  for choice in "$(printf %s "$place\\ASCENDA.SCR" | tr a-z A-Z)|gone|gone|waiting" "$short|gone|kept|apps" \
                "$other|$other|kept|plain"; do
    registered=${choice%%|*} cleared=${choice#*|} parent=${choice%|*} way=${choice##*|}
    cleared=${cleared%%|*} parent=${parent##*|}
    [ -d "$folder" ] || install
    quietly wine reg add "$desktop" /v SCRNSAVE.EXE /d "$registered" /f
    quietly wine reg add "$settings\\Counters" /v Resets /t REG_DWORD /d 3 /f
    [ $parent = gone ] || quietly wine reg add "$company\\Another Program" /f
    case $way in
    apps)
      # Installed again at once, as a script might, and then with the command the uninstaller leaves
      # to delete its own file held up (stopped) past the installer's patience: each install stays
      # whole, also once that command has ended.
      for held in "" yes; do
        expect "the uninstaller's exit code" 0 "$(uninstall)"
        [ -z "$held" ] || { held=$(clean_up); quietly kill -STOP $held; }
        expect "the saver, as the uninstaller returns" gone "$(there "$folder/ASCENDA.SCR")"
        expect "the licence, as the uninstaller returns" gone "$(there "$folder/LICENSE.txt")"
        install
        [ -z "$held" ] || quietly kill -CONT $held
        for moment in "at once" "after the clean-up"; do
          [ "$moment" = "at once" ] || within cleaned_up || expect "the clean-up" ended running
          expect "Uninstall.exe, ${held:+held up, }$moment" kept "$(there "$folder/Uninstall.exe")"
          entry=$(value "$apps" UninstallString) && entry=${entry#\"}
          expect "the Apps entry's uninstaller, ${held:+held up, }$moment" kept "$(there "$(winepath -u "${entry%%\"*}")")"
        done
      done
      expect "the uninstaller's exit code, again" 0 "$(uninstall)" ;;
    waiting)
      # Into a file: a pipe would wait for whatever the uninstaller left running.
      wine cmd /c 'C:\check-waits.bat' >"$drive/check-waits.out" 2>/dev/null || true
      expect "what the script's next lines found" "$(echo gone gone gone 0 $before)" "$(echo $(tr -d '\r' <"$drive/check-waits.out"))"
      expect "programs of ours, after the script" "" "$(ours)" ;;
    plain) run "\"$place\\Uninstall.exe\" /S" >/dev/null ;;
    esac
    # The Programs folder too: the install made it in this fresh prefix.
    within absent "$(dirname "$folder")" || expect "the folder and its parent, after $way" gone kept
    within same_temp || expect "%TEMP% after $way" "$before" "$(ls -A "$temp")"
    expect "the Apps entry, after $way" gone "$(key "$apps")"
    expect "the settings, after $way" gone "$(key "$settings")"
    expect "the company's key, after $registered" $parent "$(key "$company")"
    expect "the saver choice $registered" "${cleared#gone}" "$(value "$desktop" SCRNSAVE.EXE)"
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
    [ -z "$own" ] || echo "mine" >"$(dirname "$folder")/$own"
    expect "the uninstaller's exit code" 0 "$(uninstall)"
    within absent "$folder" || expect "the /D folder" gone kept
    expect "the parent it made, holding '$own'" "$([ -n "$own" ] && echo kept || echo gone)" \
           "$(there "$(dirname "$folder")")"
    [ -z "$own" ] || expect "the user's own file" mine "$(cat "$(dirname "$folder")/$own" 2>/dev/null)"
    rm -rf "$drive/My Stuff"
  done ;;
running-copies)
  # For Windows' longest user name. A running copy (the settings) keeps its file, and the settings
  # it may still write, until the next sign-in, whose commands stay within Windows' 260 characters.
  # Two upgrades take that removal back and each moves the running file itself aside (Wine would
  # let an overwrite through); the next sign-in removes the old copies, or, after an uninstall,
  # the file, the folders the install made and the settings.
  place="$long_user\\AppData\\Local\\Programs\\Ascenda Vintra"
  folder=$(winepath -u "$place") && programs=$(dirname "$folder")
  mkdir -p "$(dirname "$programs")"
  install "/D=$place"
  first=$(start_saver)
  expect "the uninstaller's exit code" $waits "$(uninstall)"
  for name in "$removal" "$settings_removal"; do
    expect "'$name' within 260" yes "$(value "$runonce" "$name" | awk '{ print (length($0) > 0 && length($0) <= 260) ? "yes" : length($0) }')"
  done
  # Its own file goes as it ends; a user installs again later than that.
  within absent "$folder/Uninstall.exe" || status=1
  second=
  for saver in "$first" second; do
    inode=$(stat -c %i "$folder/ASCENDA.SCR")
    install "/D=$place"
    cmp "$packaged" "$folder/ASCENDA.SCR" || status=1
    expect "the running copy $saver" "moved aside" "$(moved_aside "$inode" && echo "moved aside")"
    [ -n "$second" ] || second=$(start_saver)
  done
  expect "the removals at the next sign-in" "" "$(value "$runonce" "$removal")$(value "$runonce" "$settings_removal")"
  stop "$first" "$second"
  # Wine lets go of a killed process's file a moment after it is gone; a sign-in comes long after.
  command=$(value "$runonce" "$old_copy")
  old_copies_gone() { sign_in "$command"; ! ls "$folder"/ASCENDA.SCR.old* >/dev/null 2>&1; }
  within old_copies_gone || expect "the old copies after the next sign-in" gone "$(ls "$folder")"
  third=$(start_saver)
  expect "the uninstaller's exit code" $waits "$(uninstall)"
  quietly wine reg add "$settings\\Config" /v People /t REG_DWORD /d 42 /f
  stop "$third"
  command=$(value "$runonce" "$removal")
  signed_in() { sign_in "$command"; [ ! -e "$programs" ]; }
  within signed_in || expect "the folders it made after the next sign-in" gone kept
  expect "the profile's own folder" kept "$(there "$(dirname "$programs")")"
  sign_in "$(value "$runonce" "$settings_removal")"
  expect "the settings after the next sign-in" gone "$(key "$settings")" ;;
uninstalls-while-the-settings-are-open)
  # Uninstall is clicked with the settings open; after its question they are closed with OK, which
  # writes them, and Retry clicked: only then do they go, and only then is the uninstall complete.
  install
  dialog=$(start_saver)
  (code "$(value "$apps" UninstallString)" >"$drive/uninstalled") &
  uninstaller=$!
  # Uninstall until it asks (a space ends the main window's title), then the greeting, the monthly
  # reminder and the settings themselves.
  press "^Ascenda Vintra $version Uninstall \$" xdotool search --onlyvisible --name "^Ascenda Vintra $version Uninstall\$"
  press '^Ascenda Vintra$'
  press '^Ascenda Vintra$'
  press '^Ascenda Vintra Screen Saver$'
  within eval '! kill -0 "$dialog" 2>/dev/null' || expect "the settings dialog" closed open
  expect "the settings it wrote" 9 "$(wine reg query "$settings\\Config" 2>/dev/null | grep -c REG_DWORD)"
  # Retry, then Close on the last page.
  press "^Ascenda Vintra $version Uninstall\$"
  press "^Ascenda Vintra $version Uninstall \$"
  wait "$uninstaller" || true
  expect "the uninstaller's exit code" 0 "$(cat "$drive/uninstalled")"
  expect "the settings" gone "$(key "$settings")" ;;
esac
exit $status
