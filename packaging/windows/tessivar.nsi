; The setup program, made by scripts/build-windows from the folder it lays
; out, with: VERSION, FOLDER (that folder), REMOVALS (an include that
; deletes what FOLDER installs, folders last), ICON and OUTFILE.
Unicode true
Target amd64-unicode
; bzip2: a setup a quarter larger than lzma's, made in a tenth of the time.
SetCompressor bzip2
ManifestDPIAware true
RequestExecutionLevel admin

!include FileFunc.nsh
!include MUI2.nsh

!define PRODUCT "Orvane Tessivar"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessivar"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Where the settings are kept too: the maker's name, then the program's.
InstallDir "$PROGRAMFILES64\Quellis\Tessivar"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey CompanyName "Quellis"
VIAddVersionKey LegalCopyright "Copyright (C) 2005 Quellis"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; For every user of the machine, as its settings are.
!macro ForTheMachine
  SetRegView 64
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro ForTheMachine
FunctionEnd

Function un.onInit
  !insertmacro ForTheMachine
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File /r "${FOLDER}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tessivar.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quellis"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessivar.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only what the setup put there goes, so that a folder chosen with files
; of its own keeps them.
Section Uninstall
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !include "${REMOVALS}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The maker's folder, where it holds no other program.
  RMDir "$PROGRAMFILES64\Quellis"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
