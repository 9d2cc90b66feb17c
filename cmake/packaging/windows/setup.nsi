; The Windows setup program: the VST 2 plug-in for 64- and 32-bit hosts, each into a folder the
; user chooses, and the manual, with an uninstaller registered under Apps & features.
; Made by CPack (MakeWindowsSetup.cmake) as
;   makensis -DQVL_PRODUCT_NSH=<setup-product.nsh> -DQVL_STAGE=<staged files> -DQVL_OUTFILE=<exe>
; where the staged files are the Windows builds' install trees in 64-bit/ and 32-bit/ and the
; manual at the top. A define given on the command line wins over setup-product.nsh.
;
; Command line: /S installs silently; /VST2DIR64=<folder> and /VST2DIR32=<folder> choose the VST 2
; folders. Exit codes: 0 installed, 1 cancelled by the user, 2 failed (nothing of this setup left
; behind). The uninstaller takes /S as well.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "${QVL_PRODUCT_NSH}"
!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${QVL_PACKAGE_NAME}"
!define DLL_NAME "${QVL_PACKAGE_NAME}.dll"
!define VST3_BUNDLE "${QVL_PACKAGE_NAME}.vst3"
!define CLAP_FILE "${QVL_PACKAGE_NAME}.clap"
!define UNINSTALLER "uninstall.exe"

Name "${QVL_PRODUCT_NAME}"
Caption "${QVL_PRODUCT_NAME} ${QVL_VERSION_TEXT} Setup"
OutFile "${QVL_OUTFILE}"
; Only the manual and the uninstaller live here; the plug-ins go where hosts look for them.
InstallDir "$PROGRAMFILES64\${QVL_PRODUCT_NAME}"
BrandingText "${QVL_PRODUCT_NAME} ${QVL_VERSION_TEXT}"
ShowInstDetails show
; A file that cannot be written fails the installation, never leaves a gap in it.
AllowSkipFiles off
ShowUninstDetails show

; Each folder a plug-in goes into ("" when it is not installed), and the topmost folder of it
; that this setup made, or "": the uninstaller removes what we made once it is empty, and never
; a folder that was there before.
Var Vst2Dir64
Var Vst2Made64
Var Vst2Dir32
Var Vst2Made32
Var Vst3Dir
Var Vst3Made
Var ClapDir64
Var ClapMade64
Var ClapDir32
Var ClapMade32
; Set once this setup has begun to change the disk: a failure before leaves everything as it was.
Var Touched

!define MUI_ICON "${QVL_ICON}"
!define MUI_UNICON "${QVL_ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${QVL_SIDE_PICTURE}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "Setup installs ${QVL_PRODUCT_NAME} ${QVL_VERSION_TEXT}: the \
  plug-in and its manual.$\r$\n$\r$\nAn installed earlier version is replaced, in the folders \
  chosen for it. Please close your hosts first, so that none of them holds the plug-in \
  open.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS

!define MUI_PAGE_HEADER_TEXT "VST 2 plug-in for 64-bit hosts"
!define MUI_PAGE_HEADER_SUBTEXT "Choose the folder your 64-bit hosts scan for VST 2 plug-ins."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup puts ${DLL_NAME} for 64-bit hosts into this folder. \
  Add the folder to your host's VST 2 plug-in folders if it is not there yet."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2 folder (64-bit)"
!define MUI_DIRECTORYPAGE_VARIABLE $Vst2Dir64
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipUnlessVst2x64
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE AcceptVst2Dir64
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "VST 2 plug-in for 32-bit hosts"
!define MUI_PAGE_HEADER_SUBTEXT "Choose the folder your 32-bit hosts scan for VST 2 plug-ins."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup puts ${DLL_NAME} for 32-bit hosts into this folder. \
  Add the folder to your host's VST 2 plug-in folders if it is not there yet."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2 folder (32-bit)"
!define MUI_DIRECTORYPAGE_VARIABLE $Vst2Dir32
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipUnlessVst2x86
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE AcceptVst2Dir32
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${QVL_PRODUCT_NAME} ${QVL_VERSION_TEXT} is installed. Let your hosts \
  scan their plug-in folders again to find it.$\r$\n$\r$\nClick Finish to close Setup."
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "The plug-in is removed from the folders it was installed \
  into, the manual and this uninstaller from the folder below. The editor's settings stay."
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_UNFINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The version resource, as the plug-in DLLs carry it; the uninstaller is made from the same
; program and carries it too.
VIProductVersion "${QVL_FILE_VERSION}"
VIFileVersion "${QVL_FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${QVL_PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${QVL_VENDOR_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${QVL_VERSION_TEXT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${QVL_VERSION_TEXT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${QVL_PRODUCT_NAME} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${QVL_VENDOR_NAME}"

; --- shared by setup and uninstaller ------------------------------------------------------------

; Removes the empty folders from $R0 up to and including $R1, the topmost folder this setup made
; ("" when it made none).
!macro DEFINE_REMOVE_MADE_FOLDERS prefix
Function ${prefix}RemoveMadeFolders
    ${If} $R1 == ""
        Return
    ${EndIf}
    ${Do}
        RMDir $R0
        ${If} $R0 == $R1
            ${Break}
        ${EndIf}
        ${GetParent} $R0 $R0
    ${LoopUntil} $R0 == ""
FunctionEnd
!macroend
!insertmacro DEFINE_REMOVE_MADE_FOLDERS ""
!insertmacro DEFINE_REMOVE_MADE_FOLDERS "un."

; --- setup ---------------------------------------------------------------------------------------

; A failure: a message box, or in a silent run a line on standard error; exit code 2.
Function ReportFailure
    Exch $R9
    Push $R8
    ${If} ${Silent}
        System::Call 'kernel32::GetStdHandle(i -12) p .R8'
        FileWrite $R8 "$(^Name): $R9$\r$\n"
    ${Else}
        MessageBox MB_OK|MB_ICONSTOP "$R9"
    ${EndIf}
    SetErrorLevel 2
    Pop $R8
    Pop $R9
FunctionEnd

; $R0: a folder. Answers in $R1 the topmost of its folders that does not exist yet, or "".
Function FirstMissingFolder
    StrCpy $R1 ""
    Push $R0
    ${DoUntil} ${FileExists} "$R0\*.*"
        StrCpy $R1 $R0
        ${GetParent} $R0 $R0
        ${IfThen} $R0 == "" ${|} ${ExitDo} ${|}
    ${Loop}
    Pop $R0
FunctionEnd

; $R0: a folder. Answers in $R2 an empty string when files can be written into it, else the
; reason; leaves the disk as it was.
Function ProbeFolder
    Push $R1
    Push $R3
    SetDetailsPrint none
    Call FirstMissingFolder
    ClearErrors
    CreateDirectory $R0
    ${If} ${Errors}
    ${OrIfNot} ${FileExists} "$R0\*.*"
        StrCpy $R2 "The folder $R0 cannot be made."
    ${Else}
        ClearErrors
        FileOpen $R3 "$R0\${QVL_PACKAGE_NAME}.probe" w
        ${If} ${Errors}
            StrCpy $R2 "Files cannot be written into the folder $R0."
        ${Else}
            FileClose $R3
            Delete "$R0\${QVL_PACKAGE_NAME}.probe"
            StrCpy $R2 ""
        ${EndIf}
    ${EndIf}
    Call RemoveMadeFolders
    SetDetailsPrint both
    Pop $R3
    Pop $R1
FunctionEnd

!macro PROBE_OR_FAIL folder
    StrCpy $R0 "${folder}"
    Call ProbeFolder
    ${If} $R2 != ""
        Push "$R2 Nothing was installed."
        Call ReportFailure
        Abort
    ${EndIf}
!macroend

; Every place a plug-in goes: its folder and made-folder variables (above), its name in the
; uninstall entry, what it holds there (a file or a bundle folder).
!macro FOR_EACH_PLACE action prefix
    !insertmacro ${action} "${prefix}" Vst2Dir64 Vst2Made64 Vst2Folder64 file "${DLL_NAME}"
    !insertmacro ${action} "${prefix}" Vst2Dir32 Vst2Made32 Vst2Folder32 file "${DLL_NAME}"
    !insertmacro ${action} "${prefix}" Vst3Dir Vst3Made Vst3Folder bundle "${VST3_BUNDLE}"
    !insertmacro ${action} "${prefix}" ClapDir64 ClapMade64 ClapFolder64 file "${CLAP_FILE}"
    !insertmacro ${action} "${prefix}" ClapDir32 ClapMade32 ClapFolder32 file "${CLAP_FILE}"
!macroend

!macro REMOVE_file path
    Delete "${path}"
!macroend
!macro REMOVE_bundle path
    RMDir /r "${path}"
!macroend

!macro PLACE_REMOVE prefix dir made name kind item
    ${If} $${dir} != ""
        !insertmacro REMOVE_${kind} "$${dir}\${item}"
        StrCpy $R0 $${dir}
        StrCpy $R1 $${made}
        Call ${prefix}RemoveMadeFolders
    ${EndIf}
!macroend

!macro PLACE_PROBE prefix dir made name kind item
    ${If} $${dir} != ""
        !insertmacro PROBE_OR_FAIL $${dir}
    ${EndIf}
!macroend

!macro PLACE_FIND_MADE prefix dir made name kind item
    StrCpy $R0 $${dir}
    Call FirstMissingFolder
    StrCpy $${made} $R1
!macroend

!macro SIZE_file folder item
    ${GetSize} "${folder}" "/M=${item} /S=0K /G=0" $R1 $R2 $R3
!macroend
!macro SIZE_bundle folder item
    ${GetSize} "${folder}\${item}" "/S=0K" $R1 $R2 $R3
!macroend

!macro PLACE_ADD_SIZE prefix dir made name kind item
    ${If} $${dir} != ""
        !insertmacro SIZE_${kind} $${dir} "${item}"
        IntOp $R0 $R0 + $R1
    ${EndIf}
!macroend

!macro PLACE_WRITE prefix dir made name kind item
    WriteRegStr HKLM "${UNINSTALL_KEY}" "${name}" $${dir}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "${name}Made" $${made}
!macroend

!macro PLACE_READ prefix dir made name kind item
    ReadRegStr $${dir} HKLM "${UNINSTALL_KEY}" "${name}"
    ReadRegStr $${made} HKLM "${UNINSTALL_KEY}" "${name}Made"
!macroend

; Installed files (also those written before a failure) are taken away.
!macro REMOVE_INSTALLED_FILES prefix
    !insertmacro FOR_EACH_PLACE PLACE_REMOVE "${prefix}"
    Delete "$INSTDIR\manual.md"
    Delete "$INSTDIR\editor.png"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
!macroend

Section "-Prepare"
    Call PrepareInstall
SectionEnd

Section "VST 2 plug-in for 64-bit hosts" SecVst2x64
    SetOutPath $Vst2Dir64
    File "${QVL_STAGE}/64-bit/${DLL_NAME}"
SectionEnd

Section "VST 2 plug-in for 32-bit hosts" SecVst2x86
    SetOutPath $Vst2Dir32
    File "${QVL_STAGE}/32-bit/${DLL_NAME}"
SectionEnd

; The VST 3 and CLAP editions join by themselves once the Windows builds install them: each
; section is compiled in when its files are among the staged ones. The VST 3 bundle is one folder
; with the binaries of both architectures.
!if /FileExists "${QVL_STAGE}/32-bit/${VST3_BUNDLE}/*"
Section "VST 3 plug-in" SecVst3
    SetOutPath "$Vst3Dir\${VST3_BUNDLE}"
    ${If} ${RunningX64}
        File /r "${QVL_STAGE}/64-bit/${VST3_BUNDLE}/*"
    ${EndIf}
    File /r "${QVL_STAGE}/32-bit/${VST3_BUNDLE}/*"
SectionEnd
!endif

!if /FileExists "${QVL_STAGE}/32-bit/${CLAP_FILE}"
Section "CLAP plug-in" SecClap
    ${If} ${RunningX64}
        SetOutPath $ClapDir64
        File "${QVL_STAGE}/64-bit/${CLAP_FILE}"
    ${EndIf}
    SetOutPath $ClapDir32
    File "${QVL_STAGE}/32-bit/${CLAP_FILE}"
SectionEnd
!endif

Section "Manual" SecManual
    SetOutPath "$INSTDIR"
    File "${QVL_STAGE}/manual.md" "${QVL_STAGE}/editor.png"
SectionEnd

Function SkipUnlessVst2x64
    ${IfNot} ${SectionIsSelected} ${SecVst2x64}
        Abort
    ${EndIf}
FunctionEnd

Function SkipUnlessVst2x86
    ${IfNot} ${SectionIsSelected} ${SecVst2x86}
        Abort
    ${EndIf}
FunctionEnd

!macro ACCEPT_FOLDER folder
    StrCpy $R0 "${folder}"
    Call ProbeFolder
    ${If} $R2 != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$R2 Please choose another folder."
        Abort
    ${EndIf}
!macroend

Function AcceptVst2Dir64
    !insertmacro ACCEPT_FOLDER $Vst2Dir64
FunctionEnd

Function AcceptVst2Dir32
    !insertmacro ACCEPT_FOLDER $Vst2Dir32
FunctionEnd

Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${Else}
        ; A 32-bit Windows runs only the 32-bit plug-in.
        !insertmacro UnselectSection ${SecVst2x64}
        SectionSetText ${SecVst2x64} ""
    ${EndIf}
    ; An earlier installation's folders are the defaults, so an upgrade replaces its files in
    ; place; the command line comes before both.
    ReadRegStr $Vst2Dir64 HKLM "${UNINSTALL_KEY}" "Vst2Folder64"
    ReadRegStr $Vst2Dir32 HKLM "${UNINSTALL_KEY}" "Vst2Folder32"
    ${IfThen} $Vst2Dir64 == "" ${|} StrCpy $Vst2Dir64 "$COMMONFILES64\VST2" ${|}
    ${IfThen} $Vst2Dir32 == "" ${|} StrCpy $Vst2Dir32 "$COMMONFILES32\VST2" ${|}
    ; Where hosts look for VST 3 and CLAP plug-ins; on a 32-bit Windows $COMMONFILES64 is the
    ; one Common Files folder.
    StrCpy $Vst3Dir "$COMMONFILES64\VST3"
    ${If} ${RunningX64}
        StrCpy $ClapDir64 "$COMMONFILES64\CLAP"
    ${EndIf}
    StrCpy $ClapDir32 "$COMMONFILES32\CLAP"
    Push "/VST2DIR64="
    Call CommandLineOption
    Pop $R0
    ${IfThen} $R0 != "" ${|} StrCpy $Vst2Dir64 $R0 ${|}
    Push "/VST2DIR32="
    Call CommandLineOption
    Pop $R0
    ${IfThen} $R0 != "" ${|} StrCpy $Vst2Dir32 $R0 ${|}
FunctionEnd

; The value of an option such as "/VST2DIR64=" on the command line, or "". Windows splits the
; command line, so both "/VST2DIR64=C:\My Plugins" and /VST2DIR64="C:\My Plugins" are read.
Function CommandLineOption
    Exch $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    StrLen $R5 $R0
    System::Call 'kernel32::GetCommandLineW() p .R6'
    System::Call 'shell32::CommandLineToArgvW(p R6, *i .R1) p .R2'
    StrCpy $R3 1
    StrCpy $R4 ""
    ${DoWhile} $R3 < $R1
        IntOp $R4 $R3 * ${NSIS_PTR_SIZE}
        IntOp $R4 $R2 + $R4
        System::Call '*$R4(p .R4)'
        System::Call 'kernel32::lstrcpynW(w .R4, p R4, i ${NSIS_MAX_STRLEN})'
        StrCpy $R6 $R4 $R5
        ${If} $R6 == $R0
            StrCpy $R4 $R4 "" $R5
            ${ExitDo}
        ${EndIf}
        StrCpy $R4 ""
        IntOp $R3 $R3 + 1
    ${Loop}
    System::Call 'kernel32::LocalFree(p R2)'
    StrCpy $R0 $R4
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd

; Everything is checked before anything is touched, then an earlier installation (any version)
; is removed by its own uninstaller, which knows what it installed: a newer setup leaves no stale
; file, and the same version again repairs.
Function PrepareInstall
    ${IfNot} ${SectionIsSelected} ${SecVst2x64}
        StrCpy $Vst2Dir64 ""
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SecVst2x86}
        StrCpy $Vst2Dir32 ""
    ${EndIf}
!ifdef SecVst3
    ${IfNot} ${SectionIsSelected} ${SecVst3}
        StrCpy $Vst3Dir ""
    ${EndIf}
!else
    StrCpy $Vst3Dir ""
!endif
!ifdef SecClap
    ${IfNot} ${SectionIsSelected} ${SecClap}
        StrCpy $ClapDir64 ""
        StrCpy $ClapDir32 ""
    ${EndIf}
!else
    StrCpy $ClapDir64 ""
    StrCpy $ClapDir32 ""
!endif
    !insertmacro FOR_EACH_PLACE PLACE_PROBE ""
    !insertmacro PROBE_OR_FAIL $INSTDIR

    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 != ""
    ${AndIf} ${FileExists} "$R0\${UNINSTALLER}"
        DetailPrint "Removing the installed version"
        ExecWait '"$R0\${UNINSTALLER}" /S _?=$R0' $R1
        ${If} $R1 != 0
            Push "The installed version could not be removed (error $R1). Nothing was installed."
            Call ReportFailure
            Abort
        ${EndIf}
        Delete "$R0\${UNINSTALLER}"
        RMDir "$R0"
    ${EndIf}
    StrCpy $Touched 1
    ; All before any is made: two folders may share a new parent.
    !insertmacro FOR_EACH_PLACE PLACE_FIND_MADE ""
FunctionEnd

Section "-Register"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${QVL_PRODUCT_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${QVL_VERSION_TEXT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${QVL_VENDOR_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${QVL_HOMEPAGE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${UNINSTALLER},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $R0 $R1 $R2
    !insertmacro FOR_EACH_PLACE PLACE_ADD_SIZE ""
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $R0
    ; What the uninstaller removes, and the folders an upgrade keeps.
    !insertmacro FOR_EACH_PLACE PLACE_WRITE ""
SectionEnd

Function .onInstFailed
    ${If} $Touched == 1
        !insertmacro REMOVE_INSTALLED_FILES ""
        DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ${EndIf}
FunctionEnd

; --- uninstaller ---------------------------------------------------------------------------------

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    !insertmacro FOR_EACH_PLACE PLACE_READ "un."
FunctionEnd

; The editor's settings (%APPDATA%\${QVL_PACKAGE_NAME}) are the user's and stay.
Section "Uninstall"
    !insertmacro REMOVE_INSTALLED_FILES "un."
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
