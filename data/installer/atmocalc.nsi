; atmocalc's Windows installer. The Windows tree's target atmocalc_installer (cmake/InstallerWin32.cmake)
; builds it with makensis from the files the zip holds, and defines:
;   VERSION    the project's version, four numbers
;   PUBLISHER  the vendor of the packages
;   STAGE      the delivered files as the zip lays them out: STAGE/bin, STAGE/files, STAGE/templates
;   DELIVERED  their folder under %PUBLIC%: Documents\Veltra4\atmocalc
;   OUTFILE    the installer to write
; The plug-in, its report helper (which must lie beside it) and the tool go to the host's plug-in folder
; that the user chooses. The component table and the report template go under %PUBLIC%, where the
; plug-in reads them from: the environment variable and not the shell's public documents folder, which
; may be elsewhere. A table that is there already is the lab's own (its K values are edited in the
; plug-in): reinstall and upgrade keep it, and the uninstaller leaves it. The template is ours and
; is replaced.

Unicode true
SetCompressor /SOLID lzma
; Program Files and HKLM need an administrator. A silent install (/S) asks nothing; a refusal or a
; failure still ends it with a non-zero exit code after the box's silent answer (/SD), so that a script
; sees it: 2, or 740 without an administrator's rights.
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\atmocalc"
!define UNINSTALLER "uninst.exe"

Name "atmocalc ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Veltra4\Plugins"
; A reinstall or an upgrade offers the folder of the installation it replaces.
InstallDirRegKey HKLM "${UNINST_KEY}" InstallLocation
BrandingText "atmocalc ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion ${VERSION}
VIAddVersionKey /LANG=1049 ProductName "atmocalc"
VIAddVersionKey /LANG=1049 ProductVersion ${VERSION}
VIAddVersionKey /LANG=1049 FileVersion ${VERSION}
VIAddVersionKey /LANG=1049 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1049 FileDescription "Установка atmocalc ${VERSION}"
VIAddVersionKey /LANG=1049 LegalCopyright "${PUBLISHER}"

Var DataDir ; %PUBLIC%\Documents\Veltra4\atmocalc

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Выберите папку модулей хоста Veltra. В неё будут установлены модуль atmocalc.dll, программа построения отчёта atmocalc-report.exe (она должна лежать рядом с модулем) и программа командной строки atmocalc.exe.$\r$\n$\r$\nТаблица компонентов и шаблон отчёта будут установлены в папку $DataDir. Если таблица компонентов там уже есть, она будет сохранена вместе с вашими коэффициентами K."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Папка модулей хоста"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Будут удалены atmocalc.dll, atmocalc-report.exe, atmocalc.exe и шаблон отчёта Report.xsl. Таблица компонентов в папке $DataDir\files останется."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE Russian

; Refuses to go on while one of the programs in DIR is open: a plug-in that the host has loaded
; cannot be replaced or removed, and a half-replaced set would not work. Nothing is changed then.
!macro RefuseProgramsInUse DIR
  ${Do}
    StrCpy $R3 ""
    ${ForEach} $R0 1 3 + 1
      ${Select} $R0
        ${Case} 1
          StrCpy $R1 "${DIR}\atmocalc.dll"
        ${Case} 2
          StrCpy $R1 "${DIR}\atmocalc-report.exe"
        ${Case} 3
          StrCpy $R1 "${DIR}\atmocalc.exe"
      ${EndSelect}
      ${If} ${FileExists} $R1
        ClearErrors
        FileOpen $R2 $R1 a
        ${If} ${Errors}
          StrCpy $R3 $R1
          ${ExitFor}
        ${EndIf}
        FileClose $R2
      ${EndIf}
    ${Next}
    ${If} $R3 == ""
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Файл $R3 занят или недоступен для записи. Закройте хост Veltra и программу atmocalc.exe и нажмите $\"Повтор$\".$\r$\n$\r$\nПри отмене ничего не будет изменено." /SD IDCANCEL IDRETRY +2
    Abort "Файл $R3 занят: ничего не изменено."
  ${Loop}
!macroend

; Removes the programs and the uninstaller from DIR, and DIR itself only when nothing else is left
; in it (the host's other plug-ins stay).
!macro RemovePrograms DIR
  Delete "${DIR}\atmocalc.dll"
  Delete "${DIR}\atmocalc-report.exe"
  Delete "${DIR}\atmocalc.exe"
  Delete "${DIR}\${UNINSTALLER}"
  RMDir "${DIR}"
!macroend

; Without an administrator's rights (UAC off, a script run by a user) the files could not be written,
; and a silent install would pass over that: it stops first.
!macro RefuseWithoutAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Для установки и удаления atmocalc нужны права администратора. Запустите программу от имени администратора.$\r$\n$\r$\nНичего не изменено." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWithoutAdministrator
  ReadEnvStr $0 PUBLIC
  ${If} $0 == ""
    MessageBox MB_OK|MB_ICONSTOP "Переменная окружения PUBLIC не задана, а модуль ищет таблицу компонентов и шаблон отчёта только в папке %PUBLIC%\${DELIVERED}.$\r$\n$\r$\nУстановка прервана, ничего не изменено." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  StrCpy $DataDir "$0\${DELIVERED}"
FunctionEnd

Section
  !insertmacro RefuseProgramsInUse "$INSTDIR"
  ; An upgrade into another folder takes the programs away from the old one: the host must not find
  ; two versions of the plug-in, and the uninstaller knows only the new folder.
  ReadRegStr $0 HKLM "${UNINST_KEY}" InstallLocation
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
    !insertmacro RefuseProgramsInUse $0
    DetailPrint "Удаление прежней установки из $0"
    !insertmacro RemovePrograms $0
  ${EndIf}

  ; A file that cannot be written is offered to retry, stop or skip; a skipped one (and a silent
  ; install skips) must not end in an install that says it succeeded.
  ClearErrors
  SetOutPath "$INSTDIR"
  File "${STAGE}/bin/atmocalc.dll"
  File "${STAGE}/bin/atmocalc-report.exe"
  File "${STAGE}/bin/atmocalc.exe"

  SetOutPath "$DataDir\files"
  ${If} ${FileExists} "$DataDir\files\CompsTable.csv"
    DetailPrint "Таблица компонентов $DataDir\files\CompsTable.csv уже есть: она сохранена без изменений."
  ${Else}
    File "${STAGE}/files/CompsTable.csv"
  ${EndIf}
  SetOutPath "$DataDir\templates"
  File "${STAGE}/templates/Report.xsl"
  SetOutPath "$INSTDIR"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Не все файлы atmocalc удалось записать: установка не завершена, и модуль может не работать. Уже записанные файлы оставлены; программа удаления не зарегистрирована. Устраните причину и запустите установку снова." /SD IDOK
    Abort "Не все файлы удалось записать: установка не завершена."
  ${EndIf}

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINST_KEY}" DisplayName "atmocalc"
  WriteRegStr HKLM "${UNINST_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" DisplayIcon "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINST_KEY}" UninstallString '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINST_KEY}" QuietUninstallString '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINST_KEY}" InstallLocation "$INSTDIR"
  ; Where the table and the template went, for the uninstaller: %PUBLIC% at the time of the install.
  WriteRegStr HKLM "${UNINST_KEY}" DataFolder "$DataDir"
  WriteRegDWORD HKLM "${UNINST_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINST_KEY}" NoRepair 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINST_KEY}" EstimatedSize $0
SectionEnd

Function un.onInit
  !insertmacro RefuseWithoutAdministrator
  ReadRegStr $DataDir HKLM "${UNINST_KEY}" DataFolder
  ${If} $DataDir == ""
    ReadEnvStr $0 PUBLIC
    ${If} $0 != ""
      StrCpy $DataDir "$0\${DELIVERED}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section Uninstall
  !insertmacro RefuseProgramsInUse "$INSTDIR"
  !insertmacro RemovePrograms "$INSTDIR"
  ${If} $DataDir != ""
    Delete "$DataDir\templates\Report.xsl"
    RMDir "$DataDir\templates"
    DetailPrint "Таблица компонентов $DataDir\files\CompsTable.csv оставлена."
  ${EndIf}
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
