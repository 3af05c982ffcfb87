@echo off
rem Erases the sector between the designated arc and its two radii, and draws the radii.
"%~dp0circle_erase.exe" -m3
if errorlevel 1 echo circle_erase could not rewrite ZOD_UZUD.TXT
