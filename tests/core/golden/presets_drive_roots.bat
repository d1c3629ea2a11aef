@echo off
SET WADROOT=F:\
"D:\HLCSG.EXE" -estimate "E:\test.map"
"D:\HLBSP.EXE" -estimate -leakonly "E:\test.map"
echo Kompilieren beendet...
copy "E:\test.bsp" "G:\maps\test.bsp"
"F:\hl.exe" -console -game 
rundll32.exe user,ExitWindows