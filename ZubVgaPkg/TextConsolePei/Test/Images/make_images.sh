#!/bin/sh
# Regenerates the BMP fixtures and their expected pixels with ImageMagick 6
# (apt-get install imagemagick). Each .rgb is ImageMagick's own decoding of the .bmp:
# 8-bit R, G, B per pixel, top row first. Run-length images keep widths that are a
# multiple of 4, so that rows carry no padding runs.
set -e
IM=${IM:-/usr/bin/convert-im6}
cd "$(dirname "$0")"
$IM -seed 3 -size 30x20 plasma:fractal -type TrueColor BMP3:TrueColor30x20.bmp
$IM -size 40x24 xc:navy -fill red -draw "rectangle 5,3 30,10" -fill yellow -draw "circle 20,16 24,20" \
    -fill lime -draw "line 0,23 39,0" -type Palette -compress RLE BMP3:Rle40x24.bmp
$IM -size 160x120 xc:blue -fill white -draw "point 0,0" -fill red -draw "point 159,119" \
    -type Palette -compress RLE BMP3:Centered160x120.bmp
for f in TrueColor30x20 Rle40x24 Centered160x120; do
  $IM $f.bmp -depth 8 rgb:$f.rgb
done
