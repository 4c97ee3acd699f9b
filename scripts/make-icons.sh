#!/bin/sh
# Renders the application icon's PNGs for the desktop's icon theme from their SVG
# sources: gui/res/icons/ekview-16.svg for 16 pixels, gui/res/icons/ekview.svg for the rest.
# Run after changing either source and commit the PNGs with it.
# Needs: librsvg2-bin (rsvg-convert).
set -eu
cd "$(dirname "$0")/../gui/res/icons"

for size in 16 32 48 64 128 256; do
    source=ekview.svg
    [ "$size" -eq 16 ] && source=ekview-16.svg
    rsvg-convert -w "$size" -h "$size" "$source" -o "ekview-$size.png"
done
echo "make-icons: wrote gui/res/icons/ekview-{16,32,48,64,128,256}.png"
