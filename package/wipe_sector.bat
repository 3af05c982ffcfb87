@echo off
rem 指定した円弧の扇形（円弧と半径2本で囲まれた部分）を消去し、半径2本を線で作図します。
rem Erases the sector between the designated arc and its two radii, and draws the radii.
"%~dp0circle_erase.exe" -m3
if errorlevel 1 (
  echo circle_erase: ZOD_UZUD.TXT を書き換えられませんでした。ファイルは元のままです。
  echo circle_erase could not rewrite ZOD_UZUD.TXT
)
