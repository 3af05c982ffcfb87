@echo off
rem Keeps only what lies inside the designated circle or ellipse: a detail view.
"%~dp0circle_erase.exe" -m1 -i
if errorlevel 1 echo circle_erase could not rewrite ZOD_UZUD.TXT
