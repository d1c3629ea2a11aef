@echo off
SET WADROOT=C:\Spiele\Half-Life Grî·e
"C:\Program Files\Zoner Tools\HLCSG.EXE"  "D:\Karten fÅr HL\BrÅcke\öbung 1.map"
"C:\Program Files\Zoner Tools\HLBSP.EXE"  "D:\Karten fÅr HL\BrÅcke\öbung 1.map"
"C:\Program Files\Zoner Tools\HLVIS.EXE"  "D:\Karten fÅr HL\BrÅcke\öbung 1.map"
echo NETVIS wird nicht verwendet...
"C:\Program Files\Zoner Tools\HLRAD.EXE"  -bounce 10 -smooth 80 "D:\Karten fÅr HL\BrÅcke\öbung 1.map"
echo Kompilieren beendet...
copy "D:\Karten fÅr HL\BrÅcke\öbung 1.bsp" "C:\Spiele\Half-Life Grî·e\Stra·e Ç\maps\öbung 1.bsp"
"C:\Spiele\Half-Life Grî·e\hl.exe" -console -game "Stra·e Ç"
echo Der Computer wird nicht heruntergefahren...