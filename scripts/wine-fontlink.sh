#!/bin/sh
# Links Wine's interface fonts to a Japanese font in the prefix of WINEPREFIX, as Windows links
# its own: without it, a fresh prefix draws menus, captions and message boxes in fonts without
# Japanese, and every Japanese character shows as a box.
set -e
font="NotoSansCJK-Regular.ttc,Noto Sans CJK JP"
for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d "$font" /f >/dev/null 2>&1
done
