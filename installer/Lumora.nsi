; LumoraSetup.exe: installs Lumora into Program Files\Lumora, and its
; uninstaller. Built by make-setup.cmake, which defines:
;   LUMORA_PRODUCT  Product.nsh, the product as the build describes it: target
;                   (x86-unicode for the shipped 32-bit build, or
;                   amd64-unicode), version, maker, copyright, web site, icon
;   LUMORA_FILES    the folder holding Lumora.exe, LumoraUpdate.exe, Lumora.chm
;                   and License.rtf
;   LUMORA_OUTPUT   the setup program to write

!include /CHARSET=CP1252 "${LUMORA_PRODUCT}"
Target ${LUMORA_TARGET}
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

Name "Lumora"
OutFile "${LUMORA_OUTPUT}"
InstallDir "$PROGRAMFILES\Lumora"
RequestExecutionLevel admin
BrandingText "${LUMORA_MAKER}"

; The program's key (HKEY_LOCAL_MACHINE, 32-bit view: the program is a 32-bit
; process) and its Add/Remove Programs entry.
!define PROGRAM_KEY "Software\OSTREL\Lumora"
!define MAKER_KEY "Software\OSTREL"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"

VIProductVersion "${LUMORA_VERSION}"
VIFileVersion "${LUMORA_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Lumora"
VIAddVersionKey /LANG=1033 "CompanyName" "${LUMORA_MAKER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Lumora Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${LUMORA_COPYRIGHT}"
VIAddVersionKey /LANG=1033 "FileVersion" "${LUMORA_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${LUMORA_VERSION}"

!define MUI_ICON "${LUMORA_ICON}"
!define MUI_UNICON "${LUMORA_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Lumora.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LUMORA_FILES}/License.rtf"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; 1 when the uninstaller leaves the program key in place.
Var KeepProgramKey

; Installing and uninstalling need administrator rights; on Windows 2000 and
; XP nothing asks for them, so say so rather than fail half-way.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "You need administrator rights to install or remove Lumora.$\r$\n$\r$\nPlease log on to the computer as an administrator." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; A running Lumora holds its files: close its windows the way its own update
; check does, dialogs first, and give the process a moment to end.
!macro CloseWindowOfClass class
  FindWindow $0 "${class}"
  ${If} $0 != 0
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
  ${EndIf}
!macroend
!macro CloseRunningProgram
  !insertmacro CloseWindowOfClass "TLMAboutForm"
  !insertmacro CloseWindowOfClass "TLMSettingsForm"
  !insertmacro CloseWindowOfClass "TLMMainForm"
  ${If} $0 != 0
    Sleep 1000
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdministrator
FunctionEnd

Section "Lumora" SectionProgram
  SectionIn RO
  !insertmacro CloseRunningProgram
  SetOutPath "$INSTDIR"
  File "${LUMORA_FILES}/Lumora.exe"
  File "${LUMORA_FILES}/LumoraUpdate.exe"
  File "${LUMORA_FILES}/Lumora.chm"
  File "${LUMORA_FILES}/License.rtf"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetRegView 32
  ; The caption table the program reads (it never writes this value), and
  ; the mark of a newly installed version, which the program turns into its
  ; update date at the next start.
  WriteRegStr HKLM "${PROGRAM_KEY}" "Language" "english"
  WriteRegDWORD HKLM "${PROGRAM_KEY}" "Updated" 1

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lumora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${LUMORA_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${LUMORA_MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://${LUMORA_WEB_HOST}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumora.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Lumora.lnk" "$INSTDIR\Lumora.exe" "" "$INSTDIR\Lumora.exe" 0
SectionEnd

; While the program key holds backup copies of the Windows settings Lumora
; changed (Restore = 1), only Lumora's Restore can put them back. The user
; is told so and may stop here; the key stays either way, and a silent
; uninstall keeps it without asking.
Function un.onInit
  !insertmacro RequireAdministrator
  StrCpy $KeepProgramKey 0
  SetRegView 32
  ClearErrors
  ReadRegDWORD $0 HKLM "${PROGRAM_KEY}" "Restore"
  ${IfNot} ${Errors}
  ${AndIf} $0 <> 0
    StrCpy $KeepProgramKey 1
    MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "Lumora still keeps the original values of the Windows settings it changed. Only Lumora can put them back.$\r$\n$\r$\nTo get them back, click No, start Lumora, click Restore and restart Windows, then remove Lumora.$\r$\n$\r$\nClick Yes to remove Lumora now; the original values stay in the registry." /SD IDYES IDYES +2
    Quit
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro CloseRunningProgram
  SetShellVarContext all
  Delete "$SMPROGRAMS\Lumora.lnk"
  Delete "$INSTDIR\Lumora.exe"
  Delete "$INSTDIR\LumoraUpdate.exe"
  Delete "$INSTDIR\Lumora.chm"
  Delete "$INSTDIR\License.rtf"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  SetRegView 32
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} $KeepProgramKey == 0
    DeleteRegKey HKLM "${PROGRAM_KEY}"
    DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  ${EndIf}
SectionEnd
