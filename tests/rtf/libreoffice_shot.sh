#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/libreoffice-keys.png: a systems key and a second-degree key saved by our writer,
# as LibreOffice lays them out in a PDF (left) and as we do (right), top of the first page.
# Usage: tests/rtf/libreoffice_shot.sh [BUILD_DIR]   (needs soffice, pdftoppm, ImageMagick)
set -euo pipefail
cd "$(dirname "$0")/../.."
bin=$(realpath "${1:-build}/bin")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for kind in syst 2d; do
  "$bin/equat-sheet" --kind "$kind" --level 2 --count 4 --seed 7 --output "$work/$kind.rtf" >/dev/null
  "$bin/equat-rtf" "$work/${kind}_Cor.rtf" --to rtf --output "$work/our_$kind.rtf"
  "$bin/equat-rtf" "$work/our_$kind.rtf" --to png --output "$work/eq_$kind.png" >/dev/null 2>&1
done
soffice --headless --norestore "-env:UserInstallation=file://$work/profile" \
  --convert-to pdf --outdir "$work" "$work"/our_syst.rtf "$work"/our_2d.rtf >/dev/null 2>&1

# The pages' margins differ: each side is cut to its text, then brought to one width.
tiles=()
for kind in syst 2d; do
  pdftoppm -png -r 150 -f 1 -l 1 -singlefile "$work/our_$kind.pdf" "$work/lo_$kind"
  for side in lo eq; do
    label="LibreOffice 7.4 (PDF), $kind key"
    [[ $side == eq ]] && label="Equat (equat-rtf --to png), $kind key"
    convert "$work/${side}_$kind"*.png -background white -flatten -trim +repage -resize 1000x \
      -gravity north -crop 1000x470+0+0 +repage -bordercolor white -border 20 \
      -gravity south -splice 0x40 -pointsize 24 -annotate +0+8 "$label" \
      "$work/tile_${side}_$kind.png"
    tiles+=("$work/tile_${side}_$kind.png")
  done
done
montage "${tiles[@]}" -tile 2x -geometry +4+4 -background grey80 docs/libreoffice-keys.png
echo docs/libreoffice-keys.png
