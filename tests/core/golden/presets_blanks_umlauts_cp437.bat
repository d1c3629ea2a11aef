@echo off
SET WADROOT=C:\Spiele\Half-Life Gr”áe
"C:\Program Files\Zoner Tools\HLCSG.EXE" -estimate "D:\Karten fr HL\Brcke\šbung 1.map"
"C:\Program Files\Zoner Tools\HLBSP.EXE" -estimate "D:\Karten fr HL\Brcke\šbung 1.map"
"C:\Program Files\Zoner Tools\HLVIS.EXE" -fast -estimate "D:\Karten fr HL\Brcke\šbung 1.map"
"C:\Program Files\Zoner Tools\HLRAD.EXE" -estimate -bounce 0 -estimate "D:\Karten fr HL\Brcke\šbung 1.map"
echo Kompilieren beendet...
copy "D:\Karten fr HL\Brcke\šbung 1.bsp" "C:\Spiele\Half-Life Gr”áe\Straáe ‚\maps\šbung 1.bsp"
"C:\Spiele\Half-Life Gr”áe\hl.exe" -console -game "Straáe ‚"
echo Der PC wird nicht heruntergefahren...