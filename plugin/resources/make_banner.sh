#!/usr/bin/env bash
# Redraws the controls-panel banner with ImageMagick; run by hand after changing the artwork, and commit
# the result (the build embeds the file as it is in the tree). Two 559 x 84 frames stacked: the normal
# frame on top, the hover frame below. The web address sits in the hot rectangle the effect reacts to
# (x 150..280, y 20..64 of a frame); the hover frame underlines it and lights it up.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
green='#1db954'
deep='#0f602b'

# One frame into $3: the address in colour $1, with the underline when $2 is "underlined".
frame() {
    local underline=()
    [ "$2" = underlined ] && underline=(-draw 'rectangle 152,56 260,56')
    convert -size 559x84 gradient:'#222222'-'#151515' \
        \( -size 56x56 radial-gradient:'#5fe08c'-"$deep" \
           \( -size 56x56 xc:black -fill white -draw 'circle 28,28 28,2' \) \
           -alpha off -compose copy_opacity -composite \) \
        -geometry +24+14 -compose over -composite \
        -fill '#c8c8c8' -font DejaVu-Sans-ExtraLight -pointsize 30 -annotate +330+46 'QS Pellux' \
        -fill "$green" -font DejaVu-Sans -pointsize 11 -annotate +332+66 'QUILLSTONE' \
        -fill '#8a8a8a' -font DejaVu-Sans -pointsize 10 -annotate +152+32 'product page' \
        -fill "$1" -font DejaVu-Sans-Condensed -pointsize 13 -annotate +152+52 'quillstone.example' \
        "${underline[@]}" "$3"
}
frame '#7fb2ff' plain normal.tmp.png
frame '#b8d4ff' underlined hover.tmp.png
# 8-bit RGB, written without dates or other metadata, so that a redraw gives the same bytes.
convert normal.tmp.png hover.tmp.png -append -strip -define png:exclude-chunks=date,time PNG24:banner.png
rm normal.tmp.png hover.tmp.png
