# cmake -DIN=file -DOUT=file [-DBOM=ON] -P crlf.cmake: copies IN to OUT with CR LF line ends
# (and a UTF-8 byte order mark first when BOM is on).
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
if(BOM)
  string(ASCII 239 187 191 bom) # EF BB BF
  set(text "${bom}${text}")
endif()
file(WRITE ${OUT} "${text}")
