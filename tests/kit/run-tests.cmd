@echo off
rem Runs every test of the Lumora Windows test kit in turn, then writes
rem results\summary.txt; README.txt says what to send back. Exits with 1
rem when a test failed or did not report. Works with cmd.exe from
rem Windows 2000 on and needs nothing else.
setlocal
cd /d "%~dp0"
if exist results rd /s /q results
if exist screenshots rd /s /q screenshots
md results
set failed=0
echo Lumora Windows test kit: running the tests (see README.txt for how long).
echo.
call :part unit
call :part e2e
echo.
lumora_kit.exe summary results unit e2e
if errorlevel 1 set failed=1
if exist screenshots move screenshots results\screenshots >nul
echo.
echo The results are in %CD%\results: please send the whole folder back.
endlocal & exit /b %failed%

rem Runs the tests that <folder>\tests.txt lists: "<test> <seconds>" a line.
:part
for /f "tokens=1,2" %%t in (%1\tests.txt) do (
  lumora_kit.exe run %1 %%t %%u results
  if errorlevel 1 set failed=1
)
goto :eof
