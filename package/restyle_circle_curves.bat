@echo off
rem 指定した円または楕円の内側を消去せず、円・円弧・楕円も含めて色 4・線種 2 で描き直します。
rem Erases nothing: what lies inside the designated circle or ellipse, curves included, is redrawn in colour 4 and line type 2.
"%~dp0circle_erase.exe" -m1 -c -k42
if errorlevel 1 (
  echo circle_erase: ZOD_UZUD.TXT を書き換えられませんでした。ファイルは元のままです。
  echo circle_erase could not rewrite ZOD_UZUD.TXT
)
