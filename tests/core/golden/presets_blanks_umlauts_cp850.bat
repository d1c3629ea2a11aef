@echo off
SET WADROOT=C:\Spiele\Half-Life Grî·e
"C:\Program Files\Zoner Tools\HLCSG.EXE" -estimate "D:\Karten fÅr HL\Bjõrn\öbung 1.map"
"C:\Program Files\Zoner Tools\HLBSP.EXE" -estimate "D:\Karten fÅr HL\Bjõrn\öbung 1.map"
"C:\Program Files\Zoner Tools\HLVIS.EXE" -fast -estimate "D:\Karten fÅr HL\Bjõrn\öbung 1.map"
"C:\Program Files\Zoner Tools\HLRAD.EXE" -estimate -bounce 0 -estimate "D:\Karten fÅr HL\Bjõrn\öbung 1.map"
echo Kompilieren beendet...
copy "D:\Karten fÅr HL\Bjõrn\öbung 1.bsp" "C:\Spiele\Half-Life Grî·e\Stra·e Ç\maps\öbung 1.bsp"
"C:\Spiele\Half-Life Grî·e\hl.exe" -console -game "Stra·e Ç"
echo Der PC wird nicht heruntergefahren...