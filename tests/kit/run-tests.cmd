@echo off
rem The test kit of zolvanta's spar: runs every test program in this folder
rem in turn and writes test-report.txt beside it. Plain cmd, nothing to
rem install. Run it with names of test programs (without .exe) to run only
rem those.
setlocal EnableExtensions EnableDelayedExpansion
cd /d "%~dp0"
set "REPORT=%~dp0test-report.txt"
set "LOGS=%~dp0logs"
if not exist "%LOGS%" mkdir "%LOGS%"

echo zolvanta's spar test kit
echo.
echo Some of these tests press keys and click the mouse through Windows
echo itself, on windows of their own. Please do not touch the mouse or the
echo keyboard, and do not switch windows, until the last line says how many
echo passed. It takes a few minutes.
echo.

set "PROGRAMS="
if not "%~1"=="" goto named
for %%f in (*_test.exe) do set "PROGRAMS=!PROGRAMS! %%~nf"
goto counted
:named
for %%n in (%*) do set "PROGRAMS=!PROGRAMS! %%~nn"
:counted
set /a TOTAL=0
for %%p in (%PROGRAMS%) do set /a TOTAL+=1

> "%REPORT%" echo zolvanta's spar test kit report
kit-info.exe --report "%REPORT%"
>> "%REPORT%" echo started: %DATE% %TIME%
>> "%REPORT%" echo note: the tests that press keys and click (focus, keyboard, presses, practice_room and
>> "%REPORT%" echo       others) need the screen to themselves; a touch of the mouse or keyboard while
>> "%REPORT%" echo       they run can fail them.
>> "%REPORT%" echo.

set /a N=0
set /a PASSED=0
set /a FAILED=0
set "SECOND="
for %%p in (%PROGRAMS%) do (
    set /a N+=1
    echo [!N!/%TOTAL%] %%p
    call :run_one %%p
)

>> "%REPORT%" echo.
>> "%REPORT%" echo finished: %DATE% %TIME%
if defined SECOND >> "%REPORT%" echo passed only on a second run:!SECOND!
>> "%REPORT%" echo %PASSED% passed, %FAILED% failed
echo.
if defined SECOND echo passed only on a second run:!SECOND!
echo The report is %REPORT%
echo %PASSED% passed, %FAILED% failed
if %FAILED% gtr 0 exit /b 1
exit /b 0

rem Runs one program; a program that fails is run once more, and one that
rem passes only then counts as passed and is named in the report.
:run_one
set "NAME=%~1"
if not exist "%NAME%.exe" (
    echo     no %NAME%.exe here
    >> "%REPORT%" echo %NAME%: FAILED ^(no such program^)
    set /a FAILED+=1
    goto :eof
)
"%NAME%.exe" > "%LOGS%\%NAME%.txt" 2>&1
if not errorlevel 1 goto passed
echo     failed; once more
"%NAME%.exe" > "%LOGS%\%NAME%-again.txt" 2>&1
if not errorlevel 1 (
    set "SECOND=!SECOND! %NAME%"
    goto passed
)
echo     FAILED
>> "%REPORT%" echo %NAME%: FAILED
kit-info.exe --summary "%LOGS%\%NAME%.txt" --report "%REPORT%"
set /a FAILED+=1
goto :eof
:passed
>> "%REPORT%" echo %NAME%: passed
kit-info.exe --summary "%LOGS%\%NAME%.txt" --report "%REPORT%"
set /a PASSED+=1
goto :eof
