@echo off
rem 選択した図形の閉じた円・楕円すべての内側と、指定した円または楕円の内側を消去します。
rem Erases what lies inside every closed circle and ellipse of the selection, and inside the designated one.
"%~dp0circle_erase.exe" -m1 -a
if errorlevel 1 (
  echo circle_erase: ZOD_UZUD.TXT を書き換えられませんでした。ファイルは元のままです。
  echo circle_erase could not rewrite ZOD_UZUD.TXT
)
