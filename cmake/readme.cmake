# cmake -DJA=file -DEN=file -DOUT=file -P readme.cmake: the zip's README.txt, the Japanese text
# first, then the English one without its link to the Japanese file (which the zip holds only
# as this first half); CR LF line ends and a UTF-8 byte order mark for Notepad.
file(READ ${JA} ja)
file(READ ${EN} en)
string(REGEX REPLACE "[^\n]*\\(docs/README\\.ja\\.md\\)[^\n]*\n\n?" "" en "${en}")
set(text "${ja}\n---\n\n${en}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom) # EF BB BF
file(WRITE ${OUT} "${bom}${text}")
