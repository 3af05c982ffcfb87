@echo off
rem 指定した円弧と弦で囲まれた部分を消去し、弦を線で作図します。
rem Erases the segment between the designated arc and its chord, and draws the chord.
"%~dp0circle_erase.exe" -m5
if errorlevel 1 (
  echo circle_erase: ZOD_UZUD.TXT を書き換えられませんでした。ファイルは元のままです。
  echo circle_erase could not rewrite ZOD_UZUD.TXT
)
