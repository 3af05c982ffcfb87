@echo off
rem 指定した円または楕円の内側を消去します。
rem Erases what lies inside the designated circle or ellipse.
"%~dp0circle_erase.exe" -m1
if errorlevel 1 (
  echo circle_erase: ZOD_UZUD.TXT を書き換えられませんでした。ファイルは元のままです。
  echo circle_erase could not rewrite ZOD_UZUD.TXT
)
