@echo off
rem Retire ce que register.cmd a ecrit, et rien d'autre : un ProgID qu'un
rem autre serveur a pris depuis reste a lui. "unregister.cmd /machine"
rem retire l'enregistrement pour toute la machine.
setlocal
set "dossier=%~dp0"
set "portee="
if /i "%~1"=="/machine" set "portee=/n /i:machine"
set echecs=0
for %%c in (libzorv_opos.dll libzorv_vbscript.dll libzorv_scripting.dll libzorv_registry.dll) do (
    regsvr32 /s /u %portee% "%dossier%%%c"
    if errorlevel 1 (
        echo Echec du retrait de %%c
        set echecs=1
    )
)
if "%echecs%"=="1" exit /b 1
echo Composants de ZORV retires.
exit /b 0
