@echo off
rem Erases what lies inside the designated circle or ellipse, and cuts curves at its edge too.
"%~dp0circle_erase.exe" -m1 -c
if errorlevel 1 echo circle_erase could not rewrite ZOD_UZUD.TXT
