; The setup of quelna for Windows, made by scripts/package-windows with makensis:
;   makensis -DVERSION=x.y -DSTAGE=<folder> -DOUTFILE=<setup.exe> -DFILES=<list.nsh> quelna.nsi
; It installs for the current user, without administrator rights, into a folder the user may
; write: quelna keeps quelna.ini and its autosaves beside the executable.
; 64-bit like the program, which also lets it run under a Wine without 32-bit support.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include MUI2.nsh

Name "quelna ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\quelna"
InstallDirRegKey HKCU "Software\quelna" "InstallDir"
BrandingText "quelna ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\quelna"
!define APP_KEY "Software\Classes\Applications\quelna.exe"
!define MUI_ICON "${STAGE}\quelna.ico"
!define MUI_UNICON "${STAGE}\quelna.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quelna.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить quelna"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Section "quelna"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\quelna.lnk" "$INSTDIR\quelna.exe" "" "$INSTDIR\quelna.ico" 0
    WriteRegStr HKCU "Software\quelna" "InstallDir" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "quelna ${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quelna.ico"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "quelna developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; "Open with" for tournament files, without taking the default program of .csv away.
    WriteRegStr HKCU "${APP_KEY}" "FriendlyAppName" "quelna"
    WriteRegStr HKCU "${APP_KEY}\DefaultIcon" "" "$INSTDIR\quelna.ico"
    WriteRegStr HKCU "${APP_KEY}\SupportedTypes" ".csv" ""
    WriteRegStr HKCU "${APP_KEY}\shell\open\command" "" '"$INSTDIR\quelna.exe" "%1"'
    WriteRegStr HKCU "Software\Classes\.csv\OpenWithList\quelna.exe" "" ""
SectionEnd

; Removes only what the setup brought: the organiser's tournament files, quelna.ini and the
; autosaves stay, and with them the folder.
Section "Uninstall"
    SetShellVarContext current
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\quelna.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "${APP_KEY}"
    DeleteRegKey HKCU "Software\Classes\.csv\OpenWithList\quelna.exe"
    DeleteRegKey HKCU "Software\quelna"
SectionEnd
