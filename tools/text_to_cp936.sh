#!/bin/sh
# Turns a UTF-8 text file of the source tree into the program's own code page, with CR LF
# line ends, as a Windows text editor expects: text_to_cp936.sh <source> <target>
set -e
perl -pe 's/\n/\r\n/' "$1" | iconv -f UTF-8 -t GBK > "$2.tmp"
mv "$2.tmp" "$2"
