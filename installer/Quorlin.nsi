; Quorlin's setup program.
;
; Installs for the current user by default, with no administrator rights:
; programs under %LOCALAPPDATA%\Programs\Quorlin and registrations under
; HKCU. With /ALLUSERS (administrator) it installs under Program Files and
; HKLM instead. /S runs silently, /D=<folder> picks the folder.
;
; installer/CMakeLists.txt runs makensis on this file with:
;   QLN_VERSION   product version ("1.0.0")
;   QLN_VERSION4  the same in four parts for the version resource
;   QLN_CLSID     the extension's class id, braces included
;   QLN_OUTFILE   the setup program to write
;   QLN_PAYLOAD   a generated header: the macro QLN_PAYLOAD lists every file
;                 we ship, and QLN_HAVE_LAUNCHER is defined when Qln.exe is
;                 one of them
;   QLN_ICON      optional: the product icon

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${QLN_PAYLOAD}"

!define QLN_NAME "Quorlin"
!define QLN_PUBLISHER "Tavrel"
!define QLN_UNINSTALLER "Uninstall.exe"
!define QLN_SHORTCUT "Quorlin Info.lnk"
!define QLN_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlin"
!define QLN_CLSID_KEY "Software\Classes\CLSID\${QLN_CLSID}"
!define QLN_FILES_HANDLERS "Software\Classes\*\shellex\ContextMenuHandlers"
!define QLN_FOLDERS_HANDLERS "Software\Classes\Directory\shellex\ContextMenuHandlers"
; Files we could neither delete nor overwrite because a process holds them
; (Explorer keeps the extension loaded) are moved here; every later run of
; setup or of the uninstaller deletes those that have been let go.
!define QLN_SET_ASIDE "$TEMP\Quorlin-old"
; The keys above ours that registering creates where they are missing, each
; with a bit of the record setup keeps of those it created (the Apps entry's
; value QLN_CREATED_KEYS), deepest first: the uninstaller deletes those and
; no others, so that keys that were there before, even empty, stay.
!define QLN_CREATED_KEYS "CreatedKeys"
!macro QLN_PARENT_KEYS OP
  !insertmacro ${OP} 1 "${QLN_FILES_HANDLERS}"
  !insertmacro ${OP} 2 "Software\Classes\*\shellex"
  !insertmacro ${OP} 4 "Software\Classes\*"
  !insertmacro ${OP} 8 "${QLN_FOLDERS_HANDLERS}"
  !insertmacro ${OP} 16 "Software\Classes\Directory\shellex"
  !insertmacro ${OP} 32 "Software\Classes\Directory"
  !insertmacro ${OP} 64 "Software\Classes\CLSID"
!macroend
; Two more bits of the record: the Apps entries' key (missing from a new
; account's hive) and the folder that holds the install folder (a new
; account has no "%LOCALAPPDATA%\Programs"). Both go only after our own
; entry and folder, and only while empty.
!define QLN_APPS_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define QLN_CREATED_APPS_KEY 128
!define QLN_CREATED_PARENT_DIR 256
; Windows' "elevation required": /ALLUSERS without administrator rights.
!define QLN_ERROR_ELEVATION_REQUIRED 740
; Windows' "the operation was cancelled": the user declined the elevation.
!define QLN_ERROR_CANCELLED 1223
; SHELLEXECUTEINFOW, whose size follows the setup program's pointers.
!if ${NSIS_PTR_SIZE} > 4
  !define QLN_SHELLEXECUTEINFO_SIZE 112
!else
  !define QLN_SHELLEXECUTEINFO_SIZE 60
!endif
!define SHCNE_ASSOCCHANGED 0x08000000
!define SHCNF_IDLIST 0

Name "${QLN_NAME}"
OutFile "${QLN_OUTFILE}"
BrandingText "${QLN_NAME} ${QLN_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${QLN_VERSION4}"
VIAddVersionKey ProductName "${QLN_NAME}"
VIAddVersionKey CompanyName "${QLN_PUBLISHER}"
VIAddVersionKey FileDescription "${QLN_NAME} setup"
VIAddVersionKey FileVersion "${QLN_VERSION}"
VIAddVersionKey ProductVersion "${QLN_VERSION}"
VIAddVersionKey LegalCopyright "${QLN_PUBLISHER}"

Var AllUsers        ; 1 when installing for every user of the computer
Var PreviousDir     ; where an earlier install of the same mode lives
Var Failed          ; 1 once the uninstaller could not remove a file
Var SetAsideBeside  ; 1 once a file had to be set aside in its own folder
Var CreatedKeys     ; the record of the keys setup created (see QLN_PARENT_KEYS)
Var CreatedParent   ; QLN_CREATED_PARENT_DIR when setup creates the parent folder
Var ParentDir       ; the folder that holds an install folder
Var WelcomeFor      ; the welcome page's words for the mode
Var WelcomeWhat     ; and for what setup is about to do

; ---------------------------------------------------------------- pages

!ifdef QLN_ICON
  !define MUI_ICON "${QLN_ICON}"
  !define MUI_UNICON "${QLN_ICON}"
!endif
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${QLN_NAME} ${QLN_VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${QLN_NAME} renames many files and folders at once, from Explorer's right-click menu.$\r$\n$\r$\nSetup installs it for $WelcomeFor. $WelcomeWhat$\r$\n$\r$\nClick Next to continue."
!define MUI_PAGE_CUSTOMFUNCTION_PRE WelcomePre
!insertmacro MUI_PAGE_WELCOME
; An upgrade stays where the earlier version is; /D= moves it.
!define MUI_PAGE_CUSTOMFUNCTION_PRE DirectoryPre
!insertmacro MUI_PAGE_DIRECTORY
; The log stays up until Next: it says what was set aside, if anything.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${QLN_NAME} is installed"
!define MUI_FINISHPAGE_TEXT "Select files or folders in Explorer, right-click them and choose $\"Quorlin...$\". On Windows 11 the item is under $\"Show more options$\".$\r$\n$\r$\nClick Finish to close Setup."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ------------------------------------------- shared by setup and uninstaller

; Both programs carry these functions; the uninstaller's names start "un.".
!macro QLN_SHARED_FUNCTIONS UN

; Takes the mode ($AllUsers) into effect: the registry hive behind SHCTX,
; the Start menu folder, and the 64-bit registry view the extension is
; looked up in. All-users mode needs administrator rights: a run someone
; watches (Apps & features starts the uninstaller without them) hands over
; to a copy that Windows starts with them after asking; a silent run ends
; with ERROR_ELEVATION_REQUIRED.
; Starts this program again as administrator with "/ELEVATED" and the
; parameters in $R8, and waits for it: pushes its exit code, or "declined"
; when it could not start (the user said no to the elevation).
Function ${UN}RunElevated
  ; SHELLEXECUTEINFO, with SEE_MASK_NOCLOSEPROCESS for the process handle.
  System::Call '*(&i${QLN_SHELLEXECUTEINFO_SIZE})p.r0'
  System::Call '*$0(i ${QLN_SHELLEXECUTEINFO_SIZE}, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", w "/ELEVATED $R8", p 0, i 1)'
  System::Call 'shell32::ShellExecuteExW(p r0) i.r1'
  ${If} $1 == 0
    Push "declined"
  ${Else}
    System::Call '*$0(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p.r2)'
    System::Call 'kernel32::WaitForSingleObject(p r2, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r2, *i.r3)'
    System::Call 'kernel32::CloseHandle(p r2)'
    Push $3
  ${EndIf}
  System::Free $0
FunctionEnd

Function ${UN}SelectMode
  SetRegView 64
  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $R9
    ${GetParameters} $R8
    ClearErrors
    ${GetOptions} $R8 "/ELEVATED" $R7
    ${If} $R9 != "Admin"
    ${AndIfNot} ${Silent}
    ${AndIf} ${Errors}
      ; First, as the uninstaller's "_?=" must stay last. The elevated copy's
      ; exit code is this run's; declined, nothing was done, and that is no
      ; success.
      Call ${UN}RunElevated
      Pop $R9
      ${If} $R9 == "declined"
        MessageBox MB_OK|MB_ICONSTOP "Installing or removing ${QLN_NAME} for all users needs administrator rights, which were not given. Nothing was changed." /SD IDOK
        SetErrorLevel ${QLN_ERROR_CANCELLED}
      ${Else}
        SetErrorLevel $R9
      ${EndIf}
      Quit
    ${EndIf}
    ClearErrors
    ${If} $R9 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "Installing or removing ${QLN_NAME} for all users needs administrator rights. Run it again as an administrator, or without /ALLUSERS for your account only." /SD IDOK
      SetErrorLevel ${QLN_ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; Frees the path $R0 for a new file: deletes what is there or, when a
; process holds it, renames it into the set-aside folder (a held DLL can be
; renamed but not deleted or overwritten), from where it is deleted at the
; next restart if no later run of setup got to it first. Leaves the error
; flag set only when the path could not be freed at all.
Function ${UN}FreePath
  Push $R1
  Push $R2
  Push $R3
  ClearErrors
  Delete "$R0"
  ${IfNot} ${FileExists} "$R0"
    ClearErrors
    Goto done
  ${EndIf}

  ${GetFileName} "$R0" $R1
  CreateDirectory "${QLN_SET_ASIDE}"
  StrCpy $R3 0
  ${Do}
    IntOp $R3 $R3 + 1
    StrCpy $R2 "${QLN_SET_ASIDE}\$R3-$R1"
  ${LoopWhile} ${FileExists} "$R2"
  ClearErrors
  Rename "$R0" "$R2"
  ${If} ${Errors}
    ; The temporary folder is on another volume: set it aside in its own folder.
    StrCpy $R3 0
    ${Do}
      IntOp $R3 $R3 + 1
      StrCpy $R2 "$R0.$R3.old"
    ${LoopWhile} ${FileExists} "$R2"
    ClearErrors
    Rename "$R0" "$R2"
    StrCpy $SetAsideBeside 1
  ${EndIf}
  ${If} ${Errors}
    DetailPrint "In use, removed at the next restart: $R0"
    ClearErrors
    Delete /REBOOTOK "$R0"
    Goto done
  ${EndIf}
  DetailPrint "In use, set aside: $R0"
  ; Needs administrator rights; without them the next run of setup or of
  ; the uninstaller deletes it. Neither is a reason to ask for a restart.
  Delete /REBOOTOK "$R2"
  SetRebootFlag false
  ClearErrors
done:
  Pop $R3
  Pop $R2
  Pop $R1
FunctionEnd

; Deletes the files earlier runs set aside that nothing holds any more.
Function ${UN}DeleteSetAside
  Delete "${QLN_SET_ASIDE}\*"
  RMDir "${QLN_SET_ASIDE}"
  ClearErrors
FunctionEnd

Function ${UN}NotifyShell
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i ${SHCNF_IDLIST}, p 0, p 0)'
FunctionEnd

!macroend

!insertmacro QLN_SHARED_FUNCTIONS ""
!insertmacro QLN_SHARED_FUNCTIONS "un."

; --------------------------------------------------------------------- setup

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  Call SelectMode

  ReadRegStr $PreviousDir SHCTX "${QLN_UNINSTALL_KEY}" "InstallLocation"
  ${IfNot} ${FileExists} "$PreviousDir\${QLN_UNINSTALLER}"
    StrCpy $PreviousDir ""
  ${EndIf}
  ; /D= sets $INSTDIR before this runs; otherwise upgrade in place or take
  ; the mode's default.
  ${If} $INSTDIR == ""
    ${If} $PreviousDir != ""
      StrCpy $INSTDIR $PreviousDir
    ${ElseIf} $AllUsers == 1
      StrCpy $INSTDIR "$PROGRAMFILES64\${QLN_NAME}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${QLN_NAME}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function WelcomePre
  ${If} $AllUsers == 1
    StrCpy $WelcomeFor "every user of this computer"
  ${Else}
    StrCpy $WelcomeFor "your account only"
  ${EndIf}
  ${If} $PreviousDir != ""
    StrCpy $WelcomeWhat "The version installed now is replaced."
  ${Else}
    StrCpy $WelcomeWhat "It adds $\"Quorlin...$\" to the menu of files and folders."
  ${EndIf}
FunctionEnd

Function DirectoryPre
  ${If} $PreviousDir != ""
    Abort
  ${EndIf}
FunctionEnd

; Stops setup with an error the caller sees: a message (unless silent), exit
; code 2 and "Installation Aborted" on the progress page.
!macro QLN_FAIL TEXT
  DetailPrint "${TEXT}"
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

!macro QLN_INSTALL_FILE SOURCE NAME
  StrCpy $R0 "$INSTDIR\${NAME}"
  Call FreePath
  ${If} ${Errors}
    !insertmacro QLN_FAIL "Cannot replace $R0: it is in use."
  ${EndIf}
  ClearErrors
  File "/oname=${NAME}" "${SOURCE}"
  ${If} ${Errors}
    !insertmacro QLN_FAIL "Cannot write $R0."
  ${EndIf}
!macroend

; Sets bit BIT of $CreatedKeys when SHCTX\KEY does not exist yet.
!macro QLN_NOTE_MISSING_KEY BIT KEY
  ClearErrors
  EnumRegKey $R1 SHCTX "${KEY}" 0
  ${If} ${Errors}
    IntOp $CreatedKeys $CreatedKeys | ${BIT}
  ${EndIf}
  ClearErrors
!macroend

!macro QLN_WRITE_STRING KEY NAME VALUE
  ClearErrors
  WriteRegStr SHCTX "${KEY}" "${NAME}" `${VALUE}`
  ${If} ${Errors}
    !insertmacro QLN_FAIL "Cannot write the registry key ${KEY}."
  ${EndIf}
!macroend

!macro QLN_WRITE_DWORD KEY NAME VALUE
  ClearErrors
  WriteRegDWORD SHCTX "${KEY}" "${NAME}" "${VALUE}"
  ${If} ${Errors}
    !insertmacro QLN_FAIL "Cannot write the registry key ${KEY}."
  ${EndIf}
!macroend

Section "Quorlin"
  ; The earlier version's own uninstaller knows what it installed, including
  ; files this version no longer ships; it runs in place (_?=) so that we
  ; can wait for it, and its own program is deleted here after it.
  ${If} $PreviousDir != ""
    ; Read before the earlier uninstaller deletes it with its entry.
    ReadRegDWORD $CreatedParent SHCTX "${QLN_UNINSTALL_KEY}" "${QLN_CREATED_KEYS}"
    IntOp $CreatedParent $CreatedParent & ${QLN_CREATED_PARENT_DIR}
    DetailPrint "Removing the version installed in $PreviousDir"
    ${If} $AllUsers == 1
      ExecWait '"$PreviousDir\${QLN_UNINSTALLER}" /S /ALLUSERS _?=$PreviousDir' $R1
    ${Else}
      ExecWait '"$PreviousDir\${QLN_UNINSTALLER}" /S _?=$PreviousDir' $R1
    ${EndIf}
    ${If} $R1 != 0
      ; Not fatal: what it left is overwritten below where we ship it.
      DetailPrint "The earlier uninstaller ended with code $R1"
    ${EndIf}
    StrCpy $R0 "$PreviousDir\${QLN_UNINSTALLER}"
    Call FreePath
    RMDir "$PreviousDir"
    ; Its uninstaller ran in place and could not take the folder above;
    ; if it goes now, it is noted again below as ours.
    ${If} $CreatedParent != 0
      ${GetParent} "$PreviousDir" $ParentDir
      RMDir "$ParentDir"
    ${EndIf}
    ClearErrors
  ${EndIf}
  Call DeleteSetAside

  ${GetParent} "$INSTDIR" $ParentDir
  StrCpy $CreatedParent 0
  ${IfNot} ${FileExists} "$ParentDir\*.*"
    StrCpy $CreatedParent ${QLN_CREATED_PARENT_DIR}
  ${EndIf}

  ; The uninstaller and the Apps & features entry come first, so that
  ; whatever a failure further down leaves can be uninstalled.
  SetOverwrite try
  SetOutPath "$INSTDIR"
  StrCpy $R0 "$INSTDIR\${QLN_UNINSTALLER}"
  Call FreePath
  ClearErrors
  WriteUninstaller "$INSTDIR\${QLN_UNINSTALLER}"
  ${If} ${Errors}
    !insertmacro QLN_FAIL "Cannot write $R0."
  ${EndIf}
  ; An earlier install whose uninstaller did not run left its record (none
  ; reads as 0): its keys are ours to delete too.
  ReadRegDWORD $CreatedKeys SHCTX "${QLN_UNINSTALL_KEY}" "${QLN_CREATED_KEYS}"
  IntOp $CreatedKeys $CreatedKeys | $CreatedParent
  !insertmacro QLN_PARENT_KEYS QLN_NOTE_MISSING_KEY
  !insertmacro QLN_NOTE_MISSING_KEY ${QLN_CREATED_APPS_KEY} "${QLN_APPS_KEY}"
  ${If} $AllUsers == 1
    StrCpy $R1 " /ALLUSERS"
  ${Else}
    StrCpy $R1 ""
  ${EndIf}
  !insertmacro QLN_WRITE_STRING "${QLN_UNINSTALL_KEY}" "DisplayName" "${QLN_NAME}"
  !insertmacro QLN_WRITE_STRING "${QLN_UNINSTALL_KEY}" "DisplayVersion" "${QLN_VERSION}"
  !insertmacro QLN_WRITE_STRING "${QLN_UNINSTALL_KEY}" "Publisher" "${QLN_PUBLISHER}"
  !insertmacro QLN_WRITE_STRING "${QLN_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  !insertmacro QLN_WRITE_STRING "${QLN_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${QLN_UNINSTALLER},0"
  !insertmacro QLN_WRITE_STRING "${QLN_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${QLN_UNINSTALLER}"$R1'
  !insertmacro QLN_WRITE_STRING "${QLN_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${QLN_UNINSTALLER}" /S$R1'
  !insertmacro QLN_WRITE_DWORD "${QLN_UNINSTALL_KEY}" "NoModify" 1
  !insertmacro QLN_WRITE_DWORD "${QLN_UNINSTALL_KEY}" "NoRepair" 1
  !insertmacro QLN_WRITE_DWORD "${QLN_UNINSTALL_KEY}" "${QLN_CREATED_KEYS}" $CreatedKeys

  !insertmacro QLN_PAYLOAD QLN_INSTALL_FILE

  DetailPrint "Registering the Explorer extension"
  !insertmacro QLN_WRITE_STRING "${QLN_CLSID_KEY}" "" "${QLN_NAME}"
  !insertmacro QLN_WRITE_STRING "${QLN_CLSID_KEY}\InprocServer32" "" "$INSTDIR\QlnExt.dll"
  !insertmacro QLN_WRITE_STRING "${QLN_CLSID_KEY}\InprocServer32" "ThreadingModel" "Apartment"
  !insertmacro QLN_WRITE_STRING "${QLN_FILES_HANDLERS}\${QLN_NAME}" "" "${QLN_CLSID}"
  !insertmacro QLN_WRITE_STRING "${QLN_FOLDERS_HANDLERS}\${QLN_NAME}" "" "${QLN_CLSID}"
  Call NotifyShell

!ifdef QLN_HAVE_LAUNCHER
  ClearErrors
  CreateShortcut "$SMPROGRAMS\${QLN_SHORTCUT}" "$INSTDIR\Qln.exe" "" "$INSTDIR\Qln.exe" 0 SW_SHOWNORMAL "" "About ${QLN_NAME} and how to use it"
  ${If} ${Errors}
    !insertmacro QLN_FAIL "Cannot create the Start menu shortcut $SMPROGRAMS\${QLN_SHORTCUT}."
  ${EndIf}
!endif

  ${GetSize} "$INSTDIR" "/S=0K /G=0" $R2 $R3 $R4
  !insertmacro QLN_WRITE_DWORD "${QLN_UNINSTALL_KEY}" "EstimatedSize" $R2
SectionEnd

; --------------------------------------------------------------- uninstaller

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${Else}
    ; Started from its folder by hand: the all-users entry names that folder.
    SetRegView 64
    ReadRegStr $R1 HKLM "${QLN_UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 == $INSTDIR
      StrCpy $AllUsers 1
    ${EndIf}
  ${EndIf}
  ClearErrors
  Call un.SelectMode
FunctionEnd

; Deletes the key SHCTX\${KEY} if setup created it (bit ${BIT} of the record
; it kept) and nothing else has put a subkey or a value in it since.
!macro QLN_DELETE_CREATED_KEY BIT KEY
  IntOp $R1 $CreatedKeys & ${BIT}
  ${If} $R1 != 0
    StrCpy $R0 "${KEY}"
    Call un.DeleteKeyIfEmpty
  ${EndIf}
!macroend

Function un.DeleteKeyIfEmpty
  ClearErrors
  EnumRegKey $R1 SHCTX "$R0" 0
  ${If} ${Errors}
  ${OrIf} $R1 != ""
    ClearErrors
    Return
  ${EndIf}
  EnumRegValue $R1 SHCTX "$R0" 0
  ${If} $R1 != ""
    Return
  ${EndIf}
  ; The unnamed value has an empty name too.
  ClearErrors
  ReadRegStr $R1 SHCTX "$R0" ""
  ${IfNot} ${Errors}
    Return
  ${EndIf}
  DeleteRegKey SHCTX "$R0"
  ClearErrors
FunctionEnd

!macro QLN_REMOVE_FILE SOURCE NAME
  StrCpy $R0 "$INSTDIR\${NAME}"
  Call un.FreePath
  ${If} ${Errors}
    DetailPrint "Cannot remove $R0"
    StrCpy $Failed 1
  ${EndIf}
  ; What the fallback of an earlier run left beside it.
  Delete "$INSTDIR\${NAME}.*.old"
!macroend

Section "Uninstall"
  ; Unregister first, so that Explorer stops offering the extension even if
  ; a file below cannot go yet.
  DetailPrint "Unregistering the Explorer extension"
  DeleteRegKey SHCTX "${QLN_FILES_HANDLERS}\${QLN_NAME}"
  DeleteRegKey SHCTX "${QLN_FOLDERS_HANDLERS}\${QLN_NAME}"
  DeleteRegKey SHCTX "${QLN_CLSID_KEY}"
  ReadRegDWORD $CreatedKeys SHCTX "${QLN_UNINSTALL_KEY}" "${QLN_CREATED_KEYS}"
  !insertmacro QLN_PARENT_KEYS QLN_DELETE_CREATED_KEY
  Call un.NotifyShell

  Delete "$SMPROGRAMS\${QLN_SHORTCUT}"

  !insertmacro QLN_PAYLOAD QLN_REMOVE_FILE
  ; Fails when run in place (_?=) by a newer setup, which deletes it after.
  Delete "$INSTDIR\${QLN_UNINSTALLER}"
  ; Only if empty: files the user put there stay, and so does the folder.
  RMDir "$INSTDIR"
  ${If} $SetAsideBeside == 1
    RMDir /REBOOTOK "$INSTDIR"
    SetRebootFlag false
  ${EndIf}
  IntOp $R1 $CreatedKeys & ${QLN_CREATED_PARENT_DIR}
  ${If} $R1 != 0
    ${GetParent} "$INSTDIR" $ParentDir
    RMDir "$ParentDir"
  ${EndIf}
  Call un.DeleteSetAside

  ${If} $Failed == 1
    ; Keep the Apps & features entry, so that the uninstall can be run again.
    MessageBox MB_OK|MB_ICONSTOP "Some files in $INSTDIR could not be removed. Close the programs that use them and uninstall ${QLN_NAME} again." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  DeleteRegKey SHCTX "${QLN_UNINSTALL_KEY}"
  IntOp $R1 $CreatedKeys & ${QLN_CREATED_APPS_KEY}
  ${If} $R1 != 0
    StrCpy $R0 "${QLN_APPS_KEY}"
    Call un.DeleteKeyIfEmpty
  ${EndIf}
SectionEnd
