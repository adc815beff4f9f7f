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
!define RUNONCE_OLD_COPY "Ascenda Vintra old copy"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
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
  Settings... in the screen saver settings changes its building, lifts and people. To remove it, use \
  Settings > Apps, or Add or remove programs."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings with it selected"
!define MUI_FINISHPAGE_RUN_FUNCTION SelectSaver
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} and its settings will be removed: the folder below, the \
  entry in Apps and, if it is your screen saver, that choice. Click Uninstall to start."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Section "Install"
  SetOutPath "$INSTDIR"
  ; An earlier uninstall that found the saver running left its removal for the next sign-in:
  ; that must not take away this install.
  DeleteRegValue HKCU "${RUNONCE_KEY}" "${RUNONCE_VALUE}"
  Call MoveRunningSaverAside
  File "/oname=ASCENDA.SCR" "${SAVER}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${APPS_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${APPS_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${APPS_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${APPS_KEY}" "DisplayIcon" "$INSTDIR\ASCENDA.SCR,0"
  WriteRegStr HKCU "${APPS_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${APPS_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${APPS_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${APPS_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${APPS_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${APPS_KEY}" "NoRepair" 1
SectionEnd

; An earlier version that runs (most likely the preview in the screen saver settings) holds its
; file open, so it cannot be replaced. A running program's file can be renamed, though: it moves
; aside, the new version takes its place now, and the old one goes when the user next signs in.
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
  Rename "$INSTDIR\ASCENDA.SCR" "$INSTDIR\ASCENDA.SCR.old"
  DetailPrint "The running ASCENDA.SCR is replaced; its old copy is removed when you next sign in."
  WriteRegStr HKCU "${RUNONCE_KEY}" "${RUNONCE_OLD_COPY}" \
    '"$SYSDIR\cmd.exe" /c del /f /q "$INSTDIR\ASCENDA.SCR.old"'
FunctionEnd

; What right-clicking the file and choosing Install does: the saver becomes the user's screen
; saver, as Apply & Test registers it, and the system's screen saver settings open with it
; selected. Only the finish page calls this, so a silent install leaves the choice alone.
Function SelectSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\ASCENDA.SCR"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  Exec '"$SYSDIR\rundll32.exe" desk.cpl,InstallScreenSaver $INSTDIR\ASCENDA.SCR'
FunctionEnd

Section "Uninstall"
  ; The system's saver choice goes only if it names this file, by its long or its short name;
  ; another saver the user picked since stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$INSTDIR\ASCENDA.SCR"
  ${If} $0 == "$INSTDIR\ASCENDA.SCR"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  DeleteRegKey HKCU "${APPS_KEY}"

  Call un.RemoveSaverFile
  ; The old copy an upgrade moved aside goes too, now or with the rest at the next sign-in.
  DeleteRegValue HKCU "${RUNONCE_KEY}" "${RUNONCE_OLD_COPY}"
  Delete "$INSTDIR\ASCENDA.SCR.old"
  ${If} ${FileExists} "$INSTDIR\ASCENDA.SCR.old"
    Call un.RemoveAtSignIn
  ${EndIf}
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

; A saver that runs (most likely a preview in the screen saver settings) holds its file open.
; Give it two seconds to end, then ask the user to close it; if it still runs, or nobody can be
; asked (a silent uninstall), its file and folder go when the user next signs in: a program
; installed per user cannot have a file removed at the next restart.
Function un.RemoveSaverFile
  StrCpy $0 0
  ${DoWhile} ${FileExists} "$INSTDIR\ASCENDA.SCR"
    ClearErrors
    Delete "$INSTDIR\ASCENDA.SCR"
    ${IfNot} ${Errors}
      Return
    ${EndIf}
    IntOp $0 $0 + 1
    ${If} $0 > 8
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running, perhaps as the preview in \
        the screen saver settings. Close them and click Retry.$\r$\n$\r$\nCancel removes it when you \
        next sign in." /SD IDCANCEL IDRETRY retry
      DetailPrint "ASCENDA.SCR is in use: it is removed when you next sign in."
      Call un.RemoveAtSignIn
      Return
      retry:
      StrCpy $0 0
    ${EndIf}
    Sleep 250
  ${Loop}
FunctionEnd

Function un.RemoveAtSignIn
  WriteRegStr HKCU "${RUNONCE_KEY}" "${RUNONCE_VALUE}" \
    '"$SYSDIR\cmd.exe" /c del /f /q "$INSTDIR\ASCENDA.SCR" "$INSTDIR\ASCENDA.SCR.old" & rmdir "$INSTDIR"'
FunctionEnd
