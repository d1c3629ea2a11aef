@echo off
SET WADROOT=C:\Half-Life
"C:\ZHLT\HLCSG.EXE" -estimate "C:\maps\test.map"
"C:\ZHLT\HLBSP.EXE" -estimate -leakonly "C:\maps\test.map"
echo Kompilieren beendet...
copy "C:\maps\test.bsp" "C:\Half-Life\valve\maps\test.bsp"
"C:\Half-Life\hl.exe" -console -game valve
rundll32.exe user,ExitWindows