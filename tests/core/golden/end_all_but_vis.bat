@echo off
SET WADROOT=C:\Half-Life
"C:\ZHLT\HLCSG.EXE"  -estimate "C:\maps\test.map"
"C:\ZHLT\HLBSP.EXE"  -estimate "C:\maps\test.map"
echo VIS wird nicht verwendet...
"C:\ZHLT\NETVIS.EXE"  -server "C:\maps\test.map"
"C:\ZHLT\HLRAD.EXE"  -estimate -bounce 10 -smooth 80 -lights a.rad b.rad "C:\maps\test.map"
echo Kompilieren beendet...
copy "C:\maps\test.bsp" "C:\Half-Life\valve\maps\test.bsp"
"C:\Half-Life\hl.exe" -console -game valve
rundll32.exe user,ExitWindows