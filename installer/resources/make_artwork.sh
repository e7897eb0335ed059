#!/usr/bin/env bash
# Redraws the installer's theme images with ImageMagick; run by hand after changing the artwork, and
# commit the results (the build embeds the files as they are in the tree).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
green='#1db954'
deep='#0f602b'
# Written without dates or other metadata, so that a redraw of the same artwork gives the same bytes.
png() {
    local out=${@: -1}
    convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "PNG32:$out"
}

# The banner left of the pages: a lit green sphere on a dark field, with the product's name under it.
convert -size 450x500 gradient:'#1c1c1c'-'#101010' \
    \( -size 300x300 radial-gradient:'#5fe08c'-"$deep" -distort SRT '0.9,0 0' \
       \( -size 300x300 xc:black -fill white -draw 'circle 150,150 150,20' \) \
       -alpha off -compose copy_opacity -composite \) \
    -geometry +75+70 -compose over -composite \
    -fill '#c8c8c8' -font DejaVu-Sans-ExtraLight -pointsize 44 -gravity north -annotate +0+380 'QS Pellux' \
    -fill "$green" -font DejaVu-Sans -pointsize 14 -annotate +0+440 'QUILLSTONE' \
    -strip -quality 90 banner.jpg

# The field right of the banner, behind the pages: a faint diagonal light over the window colour.
convert -size 576x494 gradient:'#1c1c1c'-'#141414' \
    \( -size 576x494 gradient:'#262626'-'#141414' -rotate 90 -resize 576x494! \) \
    -compose blend -define compose:args=35 -composite -strip background.tmp.png
png background.tmp.png background.png
rm background.tmp.png

# The header logo: a small sphere mark and the product's name on a clear ground.
png -size 118x36 xc:none \
    -fill "$green" -draw 'circle 16,18 16,6' \
    -fill '#0f602b' -draw 'circle 19,21 19,13' \
    -fill '#5fe08c' -draw 'circle 13,14 13,11' \
    -fill '#c8c8c8' -font DejaVu-Sans -pointsize 17 -annotate +34+24 'Pellux' logo.png

# The kit's check box as the installer draws it: frame 0 unchecked, frame 1 checked (14 x 14 each).
png -size 14x28 xc:none \
    -fill '#121212' -stroke '#666666' -draw 'rectangle 0.5,0.5 13.5,13.5' \
    -fill "$green" -stroke "$green" -draw 'rectangle 0.5,14.5 13.5,27.5' \
    -fill none -stroke '#121212' -strokewidth 2 -draw 'polyline 3,21 6,24 11,17' checkbox.png

# The result rows' mark: frame 0 not installed (a grey cross), frame 1 installed (a green tick), 18 x 18.
png -size 18x36 xc:none \
    -fill none -stroke '#5a5a5a' -strokewidth 2 -draw 'circle 9,9 9,1.5' \
    -draw 'line 6,6 12,12' -draw 'line 12,6 6,12' \
    -fill "$green" -stroke "$green" -strokewidth 1 -draw 'circle 9,27 9,19' \
    -fill none -stroke '#121212' -strokewidth 2 -draw 'polyline 5,27 8,30 13,24' installed_check.png
