@echo off
rem 切り取り: 指定した円または楕円の内側だけを残し、外側を消去します（詳細図に）。
rem Keeps only what lies inside the designated circle or ellipse: a detail view.
"%~dp0circle_erase.exe" -m1 -i
if errorlevel 1 (
  echo circle_erase: ZOD_UZUD.TXT を書き換えられませんでした。ファイルは元のままです。
  echo circle_erase could not rewrite ZOD_UZUD.TXT
)
