#!/bin/sh
# Turns a UTF-8 text file of the source tree into a Windows "Unicode" text file: UTF-16LE with
# its byte-order mark and CR LF line ends, which Notepad shows whole on a Windows of any code
# page: text_to_utf16.sh <source> <target>
set -e
{ printf '\377\376'; perl -pe 's/\n/\r\n/' "$1" | iconv -f UTF-8 -t UTF-16LE; } > "$2.tmp"
mv "$2.tmp" "$2"
