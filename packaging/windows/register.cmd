@echo off
rem Enregistre les composants de ZORV (objets OPOS, controle de script,
rem objets de script, registre d'objets) pour l'utilisateur courant, sans
rem droits d'administrateur. "register.cmd /machine" les enregistre pour
rem toute la machine (administrateur), pour les programmes qui ne lisent
rem pas les classes de l'utilisateur.
setlocal
set "dossier=%~dp0"
set "portee="
if /i "%~1"=="/machine" set "portee=/n /i:machine"
set echecs=0
for %%c in (libzorv_opos.dll libzorv_vbscript.dll libzorv_scripting.dll libzorv_registry.dll) do (
    regsvr32 /s %portee% "%dossier%%%c"
    if errorlevel 1 (
        echo Echec de l'enregistrement de %%c
        set echecs=1
    )
)
if "%echecs%"=="1" exit /b 1
echo Composants de ZORV enregistres.
exit /b 0
