@echo off
rem Erases the segment between the designated arc and its chord, and draws the chord.
"%~dp0circle_erase.exe" -m5
if errorlevel 1 echo circle_erase could not rewrite ZOD_UZUD.TXT
