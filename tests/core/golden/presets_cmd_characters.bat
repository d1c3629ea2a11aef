@echo off
SET WADROOT=C:\H^&L 100%%
"C:\Tools 50%%\HLCSG.EXE" -estimate "C:\maps\test.map"
"C:\Tools 50%%\HLBSP.EXE" -estimate -leakonly "C:\maps\test.map"
echo Kompilieren beendet...
copy "C:\maps\test.bsp" "C:\H&L 100%%\mod^x&y\maps\test.bsp"
"C:\H&L 100%%\hl.exe" -console -game mod^^x^&y
echo Der PC wird nicht heruntergefahren...