#!/bin/sh
# Makes the program's icon, tools/install/icons/verrine-SIZE.png, from a
# picture of the toon teapot that verrine-shot draws: the scene turned by
# 190 degrees, where the cube stands clear to the left of the spout.
# The teapot is cut out by colour: its stripes are saturated and its
# highlight is white, while the background, the handle's opening and the
# cube are all unsaturated greys darker than white. A closing joins the
# thin seams between stripes, and the sharp cut-out, drawn large, is
# scaled down to each size with a little margin, its edges smoothed.
# Usage (from the repository root, which holds resources/, on a display):
#   tools/make-icon.sh SHOT    e.g. SHOT=build/tools/verrine-shot
set -eu
shot=$1
picture=$(mktemp --suffix=.png)
trap 'rm -f "$picture"' EXIT

# 2048 pixels square: the teapot is about 560 across, well above 256.
"$shot" "$picture" --mode toon --debug rotate --frames 380 --size 2048x2048
for size in 48 256; do
  # The frame-rate text in the bottom-left corner is cropped off first.
  convert "$picture" -crop 2048x1900+0+0 +repage \
    \( +clone -colorspace HSL -separate -delete 0 \
       \( -clone 0 -threshold 20% \) \( -clone 1 -threshold 95% \) -delete 0,1 \
       -compose Lighten -composite -morphology Close Disk:4 \) \
    -alpha off -compose CopyOpacity -composite -compose Over -trim +repage \
    -resize $((size * 95 / 100))x -background none -gravity center -extent ${size}x${size} \
    -strip "tools/install/icons/verrine-$size.png"
done
