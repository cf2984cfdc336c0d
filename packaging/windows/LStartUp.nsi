; The installer: the two programs for every user of the computer under
; Program Files, a Start-menu shortcut and an entry in the list of installed
; programs. Silent with /S, as is its uninstaller. scripts/release.sh builds
; it with the folder of the files to install and the build's identity:
;   makensis -DIDENTITY=ProductIdentity.nsh -DSTAGE=folder -DOUTFILE=setup.exe LStartUp.nsi
;
; Programs disabled in the all-users Startup folder are parked in the
; program's folder, each user's own in that user's local application data.
; They are the users', not ours: the uninstaller never deletes them, and says
; where they stay.

Unicode true
; Debian's Wine runs 64-bit programs only, and the programs are 64-bit.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true

!include "${IDENTITY}"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\LStartUp"
!define PARKED "Startup Folder"
!define USER_PARKED "%LOCALAPPDATA%\LStartUp\Startup Folder\Current User"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
!define MANIFEST "$INSTDIR\LStartUp.exe.manifest"

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\LStartUp"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${PRODUCT_VERSION}"

!define MUI_ICON "${STAGE}\LStartUp.ico"
!define MUI_UNICON "${STAGE}\LStartUp.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${PRODUCT_VERSION_QUAD}"
VIFileVersion "${PRODUCT_VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PRODUCT_COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PRODUCT_COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT_NAME} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${PRODUCT_VERSION}"

; Program Files, the machine's Start menu and the machine's uninstall entry
; need an administrator; a 64-bit program's own registry view holds the entry.
!macro RequireAdministrator
  SetRegView 64
  SetShellVarContext all
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP|MB_OK "Installing or removing ${PRODUCT_NAME} for every user of this computer needs administrator rights. Start it again as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdministrator
FunctionEnd

Function un.onInit
  !insertmacro RequireAdministrator
FunctionEnd

Section "-Program"
  SetOutPath "$INSTDIR"
  File "${STAGE}\LStartUp.exe"
  File "${STAGE}\lstartup-cli.exe"
  File "${STAGE}\README.md"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\THIRD-PARTY-NOTICES.txt"
  ; The theme manifest the program would write beside itself at its first
  ; start, which a standard user cannot do here. A hidden file is not
  ; replaced, so an earlier one is shown first.
  SetFileAttributes "${MANIFEST}" NORMAL
  File "${STAGE}\LStartUp.exe.manifest"
  SetFileAttributes "${MANIFEST}" HIDDEN
  ; The folder the program parks disabled items of the all-users Startup
  ; folder in; each user's own go to that user's profile.
  CreateDirectory "$INSTDIR\${PARKED}\All Users"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\LStartUp.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT_COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\LStartUp.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\LStartUp.exe"
  Delete "$INSTDIR\lstartup-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  SetFileAttributes "${MANIFEST}" NORMAL
  Delete "${MANIFEST}"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Each parked-items folder goes only when it is empty. "Current User" here
  ; holds what earlier builds parked for a user before items were kept per user.
  RMDir "$INSTDIR\${PARKED}\All Users"
  RMDir "$INSTDIR\${PARKED}\Current User"
  RMDir "$INSTDIR\${PARKED}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\${PARKED}\*.*"
    DetailPrint "Disabled Startup-folder programs were kept in $INSTDIR\${PARKED}"
    MessageBox MB_ICONINFORMATION|MB_OK "The programs you disabled in the Startup folders were kept in$\r$\n$\r$\n$INSTDIR\${PARKED}$\r$\n$\r$\nEach user's own disabled Startup programs stay in their profile, in$\r$\n$\r$\n${USER_PARKED}$\r$\n$\r$\nInstall ${PRODUCT_NAME} into the same folder again to list and enable them, or move them back into a Startup folder yourself." /SD IDOK
  ${Else}
    DetailPrint "Each user's own disabled Startup programs stay in their profile, in ${USER_PARKED}"
  ${EndIf}
SectionEnd
