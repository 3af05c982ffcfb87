@echo off
rem 指定した円または楕円の内側を消去し、円・円弧・楕円もその境界で切ります。
rem Erases what lies inside the designated circle or ellipse, and cuts curves at its edge too.
"%~dp0circle_erase.exe" -m1 -c
if errorlevel 1 (
  echo circle_erase: ZOD_UZUD.TXT を書き換えられませんでした。ファイルは元のままです。
  echo circle_erase could not rewrite ZOD_UZUD.TXT
)
