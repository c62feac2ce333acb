#!/usr/bin/env bash
# Makes the sample pictures that the launcher opens the main window on: small photo-like
# landscapes in every format Trimjet reads. The pictures are committed; run this again only
# to change them. Needs ImageMagick. Usage: samples/make_samples.sh [FOLDER]
set -euo pipefail
out=${1:-$(dirname "$0")}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# scene FILE WIDTHxHEIGHT SKY_TOP SKY_HORIZON GROUND_DARK GROUND_LIGHT SUN SEED HILLS
scene() {
  local file=$1 size=$2 top=$3 horizon=$4 dark=$5 light=$6 sun=$7 seed=$8 hills=$9
  convert -seed "$seed" -size "$size" gradient:"$top-$horizon" \
    \( -size "$size" plasma:fractal -blur 0x3 -colorspace gray -level 25%,75% \) \
    -compose softlight -composite "$work/sky.png"
  if [ "$sun" != none ]; then convert "$work/sky.png" -fill '#fff1b0' -draw "circle $sun" "$work/sky.png"; fi
  convert -seed "$seed" -size "$size" plasma:fractal -blur 0x1 -colorspace gray \
    +level-colors "$dark,$light" "$work/ground.png"
  convert -size "$size" xc:black -fill white -draw "polygon $hills" -blur 0x1.5 "$work/mask.png"
  convert "$work/sky.png" "$work/ground.png" "$work/mask.png" -composite \
    -attenuate 0.3 +noise gaussian -depth 8 -compress "${compress:-None}" -quality 88 "$out/$file"
}

mkdir -p "$out"
scene "Green hills.jpg" 800x600 '#3a78c8' '#cfe6fa' '#1f4d1a' '#7da83c' '620,130 655,130' 1 \
  "0,600 0,380 150,300 300,360 480,260 650,340 800,300 800,600"
scene "Desert sunset.jpg" 800x600 '#d9622b' '#ffe3b0' '#5a3318' '#b27a45' '400,420 440,420' 2 \
  "0,600 0,450 200,430 400,470 600,420 800,450 800,600"
scene "Mountain lake.jpg" 640x800 '#2a5fa8' '#e2eefb' '#243a52' '#6f8fae' none 3 \
  "0,800 0,420 120,250 260,380 400,200 640,430 640,800"
scene "Evening field.jpg" 1024x683 '#30285e' '#f2a65a' '#2b2a12' '#8a7d2e' '780,470 805,470' 4 \
  "0,683 0,500 300,480 600,510 1024,470 1024,683"
scene "Snowy ridge.png" 560x400 '#6d8fb8' '#eef3f8' '#9aa6b2' '#ffffff' '120,90 150,90' 5 \
  "0,500 0,330 200,210 350,300 520,180 700,320 700,500"
compress=LZW scene "Autumn slope.tif" 600x450 '#5b8fcf' '#dbe9f7' '#5e2a0c' '#d2842c' '480,90 505,90' 6 \
  "0,450 0,250 600,380 600,450"
scene "Coast.gif" 480x360 '#4f8ad6' '#d6e8fa' '#1c4f7a' '#5fa3c9' '90,70 110,70' 7 \
  "0,360 0,230 480,230 480,360"
scene "Meadow.bmp" 320x240 '#4a86d0' '#d4e6f8' '#2f5d12' '#9cc24a' '260,50 275,50' 8 \
  "0,240 0,150 110,120 220,160 320,130 320,240"
scene "Dunes.tga" 400x300 '#c97a3c' '#fbe1b8' '#7a4a20' '#e0a860' none 9 \
  "0,300 0,190 130,160 260,200 400,170 400,300"
compress=RLE scene "Old postcard.pcx" 360x270 '#7f8c9a' '#e6e0d0' '#4a4a3a' '#a8a27e' '290,60 305,60' 10 \
  "0,270 0,180 180,140 360,190 360,270"
