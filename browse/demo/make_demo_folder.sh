#!/usr/bin/env bash
# Fills FOLDER with pictures to browse: photo-like scenes in several sizes and formats,
# upright and landscape, a damaged JPEG, a text file and a hidden picture.
# Usage: browse/demo/make_demo_folder.sh FOLDER
set -euo pipefail
dir=${1:?folder}
mkdir -p "$dir"
i=0
for size in 1600x1200 1200x1600 800x800 640x480 320x1280 90x60 2000x1000; do
  for kind in plasma:fractal gradient:skyblue-darkgreen "radial-gradient:gold-firebrick"; do
    i=$((i + 1))
    for ext in JPG png; do
      [ "$ext" = png ] && [ $((i % 3)) -ne 0 ] && continue
      convert -seed "$i" -size "$size" "$kind" -blur 0x1 "$dir/Photo_$(printf %02d $i).$ext"
    done
  done
done
convert -size 600x400 plasma:fractal "$dir/tiff scan.tif"
convert rose: -resize 400% "$dir/rose.bmp"
convert wizard: "$dir/wizard.gif"
convert logo: "$dir/a very long file name for a picture.jpeg"
head -c 3000 "$dir/Photo_01.JPG" > "$dir/damaged.jpg"
echo "not a picture" > "$dir/notes.txt"
convert rose: "$dir/.hidden.png"
