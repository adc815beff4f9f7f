; The Windows installer: puts ASCENDA.SCR into the user's own programs folder, with an entry in
; Settings > Apps, and an uninstaller that takes all of it away again. Per user, so no
; administrator is ever asked for.
;
; tools/release.sh builds it with
;   makensis -DVERSION=1.0.0 -DCOPYRIGHT="Copyright (c) ..." -DSAVER=path/ASCENDA.SCR
;            -DLICENSE=LICENSE.txt -DICON=Ascenda.ico -DSIDEBAR=sidebar.bmp
;            -DOUTFILE=ascenda-vintra-1.0.0-windows-x64-setup.exe ascenda.nsi
;
; The same inputs give the same bytes: it carries no build time and, as SetDateSave is off, no
; file times, so a clone's file times do not matter. Installed files get the time of installing.

Unicode true
; The 64-bit stubs: the saver is a 64-bit program, and 64-bit Windows runs them natively.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
SetDateSave off
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Ascenda Vintra"
!define PUBLISHER "Orvane's Registry Bits"
!define SETTINGS_KEY "Software\${PUBLISHER}\Ascenda"
!define APPS_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\AscendaVintra"
!define DESKTOP_KEY "Control Panel\Desktop"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
!define RUNONCE_VALUE "Ascenda Vintra removal"
!define RUNONCE_SETTINGS "Ascenda Vintra settings removal"
!define RUNONCE_OLD_COPY "Ascenda Vintra old copy"
; Windows runs no sign-in command longer than this.
!define RUNONCE_LIMIT 260
; A running saver moved aside becomes ASCENDA.SCR.old1 to .old9 (1.0.0 used ASCENDA.SCR.old), so
; that an upgrade finds a free name while earlier copies still run; OLD_COPIES names them all.
!define OLD_COPIES "ASCENDA.SCR.old*"
; The uninstaller's exit code for "done, but the rest waits for the next sign-in", as Windows
; installers report a pending restart.
!define ERROR_SUCCESS_SIGN_IN 3010

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade or reinstall without /D goes where the current copy is, so that there stays one
; copy, one Apps entry, and the screen saver choice names a file that is there.
InstallDirRegKey HKCU "${APPS_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

; The folders an install created, innermost first, each followed by "|".
Var CreatedFolders
; What the uninstaller's last page says: set when part of the removal waits for the next sign-in.
Var RemovalTitle
Var RemovalSubtitle
; Set once the uninstaller has left part of the removal to the next sign-in.
Var RemovalWaits
; The uninstaller's own running file, "rd" commands for the folders around it, to run once it has
; ended, and the "if" that must hold for them to run.
Var SelfFile
Var SelfFolders
Var SelfCondition

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; A piece of the building the saver draws, beside the welcome and finish pages.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDEBAR}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This puts the ${PRODUCT} screen saver ${VERSION} on this computer for you \
  alone, in your own programs folder. It needs no administrator.$\r$\n$\r$\n\
  If an earlier version is installed, it is replaced and your settings are kept.$\r$\n$\r$\n\
  Click Next to continue."
!insertmacro MUI_PAGE_WELCOME
; The MIT licence asks nothing of a user, so the page shows it with a plain Next.
!define MUI_PAGE_HEADER_TEXT "Licence"
!define MUI_PAGE_HEADER_SUBTEXT "${PRODUCT} is free software under the MIT licence."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "You may use, copy and pass on ${PRODUCT} under this licence. Click Next to \
  continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_INSTFILES
; The check box has room for one line.
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "${PRODUCT} ${VERSION} is installed.$\r$\n$\r$\n\
  To choose its people, lifts and floors, open the screen saver settings and click Settings.\
  $\r$\n$\r$\nTo remove it, use Settings > Apps."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings with it selected"
!define MUI_FINISHPAGE_RUN_FUNCTION SelectSaver
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} and its settings will be removed: the folder below, the \
  entry in Apps and, if it is your screen saver, that choice. Click Uninstall to start."
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "$RemovalTitle"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "$RemovalSubtitle"
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Stops the install with a message that says what failed: under /S the message is skipped and the
; installer ends with exit code 2.
!macro FailIfErrors WHAT
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "${WHAT}" /SD IDOK
    SetErrorLevel 2
    Abort "${WHAT}"
  ${EndIf}
!macroend

Section "Install"
  Call WaitForEarlierUninstall
  Call FindFoldersToCreate
  ClearErrors
  SetOutPath "$INSTDIR"
  !insertmacro FailIfErrors "The folder $INSTDIR could not be made."
  Call MoveRunningSaverAside
  ; Each file is checked rather than left to the copy's own Abort, Retry, Ignore question.
  SetOverwrite try
  ClearErrors
  File "/oname=ASCENDA.SCR" "${SAVER}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  !insertmacro FailIfErrors "The files could not be written to $INSTDIR."
  SetOverwrite on
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  !insertmacro FailIfErrors "The uninstaller could not be written to $INSTDIR."

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${APPS_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${APPS_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${APPS_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${APPS_KEY}" "DisplayIcon" "$INSTDIR\ASCENDA.SCR,0"
  WriteRegStr HKCU "${APPS_KEY}" "InstallLocation" "$INSTDIR"
  ; "_?=" runs the uninstaller where it lies instead of from a copy in %TEMP% that it starts and
  ; leaves running, so a script that starts it waits for the whole removal.
  WriteRegStr HKCU "${APPS_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKCU "${APPS_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
  WriteRegStr HKCU "${APPS_KEY}" "CreatedFolders" "$CreatedFolders"
  WriteRegDWORD HKCU "${APPS_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${APPS_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${APPS_KEY}" "NoRepair" 1
  !insertmacro FailIfErrors "The entry in Settings > Apps could not be written."
SectionEnd

; An uninstaller run where it lies leaves its own file, and the folders it made, to a command that
; removes them a moment after it has ended, unless an install has begun in the folder by then
; (LICENSE.txt, written before Uninstall.exe). Between that check and the removal lies a moment, so
; an install that finds such a file waits until the command has removed it and those folders;
; otherwise the command could take this install's Uninstall.exe, or the folder from under its files.
Function WaitForEarlierUninstall
  ClearErrors
  ReadRegStr $0 HKCU "${APPS_KEY}" "UninstallString"
  ${IfNot} ${Errors}
  ${OrIf} ${FileExists} "$INSTDIR\LICENSE.txt"
  ${OrIfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
    Return
  ${EndIf}
  DetailPrint "Waiting for the earlier uninstall to finish."
  ; The command is done within five seconds; fifteen allow for a slow machine.
  ${For} $1 1 150
    Sleep 100
    ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
      ${Continue}
    ${EndIf}
    ; Its folders go innermost first: done once the innermost left holds something.
    StrCpy $0 $INSTDIR
    ${DoUntil} ${FileExists} "$0\*.*"
      ${GetParent} $0 $0
      ${IfThen} $0 == "" ${|} Return ${|}
    ${Loop}
    ${DirState} $0 $2
    ${IfThen} $2 != 0 ${|} Return ${|}
  ${Next}
  ; It has not come: do its work here, so that the folders count as this install's own. Which of
  ; them the earlier install made is not known any more; they are among those left empty.
  Delete "$INSTDIR\Uninstall.exe"
  StrCpy $0 $INSTDIR
  ${Do}
    ClearErrors
    RMDir $0
    ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
    ${GetParent} $0 $0
  ${LoopUntil} $0 == ""
FunctionEnd

; The folders that SetOutPath is about to create: $INSTDIR and those of its parents that are not
; there yet, so that uninstalling removes them and no others. Installing again into the same
; folder keeps what the first install found.
Function FindFoldersToCreate
  StrCpy $CreatedFolders ""
  ReadRegStr $0 HKCU "${APPS_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
  ${AndIf} ${FileExists} "$INSTDIR\*.*"
    ReadRegStr $CreatedFolders HKCU "${APPS_KEY}" "CreatedFolders"
    Return
  ${EndIf}
  Call TakeBackRemovalAtSignIn
  StrCpy $0 $INSTDIR
  ${DoWhile} $0 != ""
    ${IfThen} ${FileExists} "$0\*.*" ${|} ${ExitDo} ${|}
    StrCpy $CreatedFolders "$CreatedFolders$0|"
    ${GetParent} $0 $0
  ${Loop}
FunctionEnd

; An uninstall that found the saver running left its removal, and the settings', to the next
; sign-in: that must not take away this install. Into the same folder, the install takes over the
; folders that removal would have removed, one for each "rd" in its command.
Function TakeBackRemovalAtSignIn
  DeleteRegValue HKCU "${RUNONCE_KEY}" "${RUNONCE_SETTINGS}"
  ReadRegStr $R0 HKCU "${RUNONCE_KEY}" "${RUNONCE_VALUE}"
  Call ChangeToInstallFolder
  StrLen $R1 $0
  StrCpy $R2 $R0 $R1
  ${If} $R0 == ""
  ${OrIf} $R2 != $0
    Return
  ${EndIf}
  DeleteRegValue HKCU "${RUNONCE_KEY}" "${RUNONCE_VALUE}"
  StrCpy $R3 $INSTDIR
  ${Do}
    StrCpy $R2 $R0 7 $R1
    ${IfThen} $R2 == "" ${|} ${ExitDo} ${|}
    ${If} $R2 == ' & rd "'
      StrCpy $CreatedFolders "$CreatedFolders$R3|"
      ${GetParent} $R3 $R3
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
FunctionEnd

; An earlier version that runs (most likely the preview in the screen saver settings) holds its
; file open, so it cannot be replaced. A running program's file can be renamed, though: it moves
; aside, the new version takes its place now, and the old one goes when the user next signs in.
; An old copy moved aside by an earlier upgrade may still run too, so each gets a name of its own.
Function MoveRunningSaverAside
  ${IfNot} ${FileExists} "$INSTDIR\ASCENDA.SCR"
    Return
  ${EndIf}
  ClearErrors
  Delete "$INSTDIR\ASCENDA.SCR"
  ${IfNot} ${Errors}
    Return
  ${EndIf}
  Delete "$INSTDIR\ASCENDA.SCR.old"
  ${For} $1 1 9
    ClearErrors
    Delete "$INSTDIR\ASCENDA.SCR.old$1"
    ${IfNot} ${FileExists} "$INSTDIR\ASCENDA.SCR.old$1"
      Rename "$INSTDIR\ASCENDA.SCR" "$INSTDIR\ASCENDA.SCR.old$1"
      ${IfNot} ${Errors}
        DetailPrint "The running ASCENDA.SCR is replaced; its old copy is removed when you next sign in."
        Call ChangeToInstallFolder
        WriteRegStr HKCU "${RUNONCE_KEY}" "${RUNONCE_OLD_COPY}" "$0 && del /q ${OLD_COPIES}"
        Return
      ${EndIf}
    ${EndIf}
  ${Next}
  SetErrorLevel 2
  MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is running and could not be moved aside. Close the screen saver \
    settings, or sign out and in again, then run this installer again." /SD IDOK
  Abort "ASCENDA.SCR is in use."
FunctionEnd

; $0: the start of a sign-in command that works in $INSTDIR, short enough that what follows fits
; within Windows' limit; the folder's short name stands in for a long one.
!macro ChangeToInstallFolder
  StrCpy $0 '"$SYSDIR\cmd.exe" /c cd /d "$INSTDIR"'
  StrLen $1 $0
  ${If} $1 > 160
    GetFullPathName /SHORT $1 "$INSTDIR"
    StrCpy $0 '"$SYSDIR\cmd.exe" /c cd /d "$1"'
  ${EndIf}
!macroend
Function ChangeToInstallFolder
  !insertmacro ChangeToInstallFolder
FunctionEnd
Function un.ChangeToInstallFolder
  !insertmacro ChangeToInstallFolder
FunctionEnd

; What right-clicking the file and choosing Install does: the saver becomes the user's screen
; saver, as Apply & Test registers it, and the system's screen saver settings open with it
; selected. Only the finish page calls this, so a silent install leaves the choice alone.
Function SelectSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\ASCENDA.SCR"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  Exec '"$SYSDIR\rundll32.exe" desk.cpl,InstallScreenSaver $INSTDIR\ASCENDA.SCR'
FunctionEnd

Function un.onInit
  ; An uninstaller written by a silent install would be silent itself, removing everything from
  ; Apps without a word: only its own /S makes it so.
  ${GetParameters} $0
  ClearErrors
  ${GetOptionsS} $0 "/S" $1
  ${If} ${Errors}
    SetSilent normal
  ${EndIf}
  StrCpy $RemovalTitle "$(MUI_UNTEXT_FINISH_TITLE)"
  StrCpy $RemovalSubtitle "$(MUI_UNTEXT_FINISH_SUBTITLE)"
FunctionEnd

Section "Uninstall"
  ; An install before 1.0.1 kept no list: it had made its folder only.
  ClearErrors
  ReadRegStr $CreatedFolders HKCU "${APPS_KEY}" "CreatedFolders"
  ${If} ${Errors}
    StrCpy $CreatedFolders "$INSTDIR|"
  ${EndIf}

  ; The system's saver choice goes only if it names this file, by its long or its short name;
  ; another saver the user picked since stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$INSTDIR\ASCENDA.SCR"
  ${If} $0 == "$INSTDIR\ASCENDA.SCR"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  DeleteRegKey HKCU "${APPS_KEY}"
  Delete "$INSTDIR\LICENSE.txt"

  ; The saver's settings dialog writes the settings when it closes, so they go only once no copy
  ; of ours runs any more; until then, with the files, at the next sign-in.
  Call un.RemoveSaverFiles
  DeleteRegValue HKCU "${RUNONCE_KEY}" "${RUNONCE_OLD_COPY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  ${If} ${FileExists} "$INSTDIR\ASCENDA.SCR*"
    Call un.RemoveAtSignIn
  ${EndIf}

  Call un.LeaveSelfToCleanUp
  Call un.RemoveCreatedFolders
SectionEnd

; Deletes ASCENDA.SCR and the old copies upgrades moved aside. A copy that runs (most likely a
; preview in the screen saver settings, or its settings dialog) holds its file open: give it two
; seconds to end, then ask the user to close it. Returns when they are gone, or when the user
; cancels (or nobody can be asked: a silent uninstall) with some of them still there.
Function un.RemoveSaverFiles
  StrCpy $2 0
  ${Do}
    Delete "$INSTDIR\ASCENDA.SCR"
    Delete "$INSTDIR\ASCENDA.SCR.old"
    ${For} $1 1 9
      Delete "$INSTDIR\ASCENDA.SCR.old$1"
    ${Next}
    ${IfNot} ${FileExists} "$INSTDIR\ASCENDA.SCR*"
      Return
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 > 8
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running, perhaps as the preview \
        in the screen saver settings or as its own settings window. Close it and click Retry.$\r$\n$\r$\nCancel \
        leaves its file, its folder and its settings to be removed when you next sign in." \
        /SD IDCANCEL IDRETRY retry
      Return
      retry:
      StrCpy $2 0
    ${EndIf}
    Sleep 250
  ${Loop}
FunctionEnd

; A program installed per user cannot have a file removed at the next restart, but a command can
; run at the next sign-in, when nothing of ours runs. Two commands, as Windows limits each.
Function un.RemoveAtSignIn
  ${If} $RemovalWaits == 1
    Return
  ${EndIf}
  StrCpy $RemovalWaits 1
  DetailPrint "ASCENDA.SCR is in use: removed at the next sign-in."
  StrCpy $RemovalTitle "Uninstall will be completed at the next sign-in"
  StrCpy $RemovalSubtitle "${PRODUCT} is still running. Its file, its folder and its settings go when you next sign in."
  SetErrorLevel ${ERROR_SUCCESS_SIGN_IN}
  WriteRegStr HKCU "${RUNONCE_KEY}" "${RUNONCE_SETTINGS}" `"$SYSDIR\reg.exe" delete "HKCU\${SETTINGS_KEY}" /f`

  ; Inside the folder, then out of each created folder in turn: the command names $INSTDIR once.
  Call un.ChangeToInstallFolder
  StrCpy $3 "$0 && (del /q ASCENDA.SCR ${OLD_COPIES} Uninstall.exe"
  StrCpy $4 $CreatedFolders
  ${Do}
    Call un.NextFolder
    ${IfThen} $5 == "" ${|} ${ExitDo} ${|}
    ${GetFileName} $5 $5
    StrCpy $3 '$3 & cd .. & rd "$5"'
  ${Loop}
  StrCpy $3 "$3)"
  StrLen $1 $3
  ${If} $1 > ${RUNONCE_LIMIT}
    DetailPrint "The folder $INSTDIR is too deep to be removed at the next sign-in: remove it yourself."
  ${EndIf}
  WriteRegStr HKCU "${RUNONCE_KEY}" "${RUNONCE_VALUE}" $3
FunctionEnd

; Takes the first folder off the list in $4 into $5 (empty when none is left).
Function un.NextFolder
  StrCpy $5 ""
  StrCpy $6 0
  ${Do}
    StrCpy $7 $4 1 $6
    ${If} $7 == ""
      Return
    ${EndIf}
    ${If} $7 == "|"
      StrCpy $5 $4 $6
      IntOp $6 $6 + 1
      StrCpy $4 $4 "" $6
      Return
    ${EndIf}
    IntOp $6 $6 + 1
  ${Loop}
FunctionEnd

; The folders this program's install made, innermost first; a folder that holds anything else, the
; user's own files, stays.
Function un.RemoveCreatedFolders
  StrCpy $4 $CreatedFolders
  ${Do}
    Call un.NextFolder
    ${IfThen} $5 == "" ${|} ${ExitDo} ${|}
    RMDir $5
  ${Loop}
FunctionEnd

; The uninstaller cannot delete its own running file. Run where it lies ("_?=", the Apps entry's
; form), it leaves that file and the folders it would have removed to a hidden command that deletes
; them the moment this program has ended, unless a new install has written its LICENSE.txt there,
; and so perhaps its own Uninstall.exe. Run from a copy elsewhere, it removes the installed
; Uninstall.exe and the folders itself, so a script that waits for it finds everything gone. Of
; such copies, only NSIS's own (%TEMP%\~nsu*.tmp\Un.exe, made when started without "_?=") is left
; to that command with its folder; a copy made by whoever started it is theirs to delete.
Function un.LeaveSelfToCleanUp
  StrCpy $SelfFile ""
  StrCpy $SelfFolders ""
  StrCpy $SelfCondition ""
  ${If} $EXEDIR != $INSTDIR
    Delete "$INSTDIR\Uninstall.exe"
    ${GetParent} $EXEDIR $0
    ${GetFileName} $EXEDIR $1
    StrCpy $2 $1 4
    StrCpy $3 $1 "" -4
    ${If} $0 == $TEMP
    ${AndIf} $2 == "~nsu"
    ${AndIf} $3 == ".tmp"
      StrCpy $SelfFile $EXEPATH
      StrCpy $SelfFolders ' & rd "$EXEDIR" 2>nul'
    ${EndIf}
    Return
  ${EndIf}
  StrCpy $SelfFile $EXEPATH
  StrCpy $SelfCondition 'if not exist "$INSTDIR\LICENSE.txt" '
  StrCpy $4 $CreatedFolders
  ${Do}
    Call un.NextFolder
    ${IfThen} $5 == "" ${|} ${ExitDo} ${|}
    StrCpy $SelfFolders '$SelfFolders & rd "$5" 2>nul'
  ${Loop}
FunctionEnd

Function un.CleanUpAfterExit
  ${If} $SelfFile == ""
    Return
  ${EndIf}
  ; The command's own folder must not be one it removes.
  SetOutPath $TEMP
  ; A second for this program to end, and three more should it be slow. (ping waits, as cmd has no
  ; pause of its own that works without a console.) A second try only if the first failed.
  StrCpy $0 '$SelfCondition(del /q "$SelfFile" 2>nul$SelfFolders)'
  ExecShell "open" "$SYSDIR\cmd.exe" '/c ping -n 2 127.0.0.1 >nul & $0 & if exist "$SelfFile" \
    (ping -n 4 127.0.0.1 >nul & $0)' SW_HIDE
  StrCpy $SelfFile ""
FunctionEnd

Function un.onGUIEnd
  Call un.CleanUpAfterExit
FunctionEnd

Function un.onUninstSuccess
  ${If} ${Silent}
    Call un.CleanUpAfterExit
  ${EndIf}
FunctionEnd
