#!/bin/bash
# Generates every JPEG picture of the launcher's windows into resources/:
# the 600x450 main window background with its nine painted menu labels, a lit
# copy of each label (cut from the same composition, so it lines up pixel for
# pixel when shown at its place), the status panel, the two progress bar
# pictures and the picture buttons of the error report window.
#
# Needs ImageMagick (convert, or magick with IM=magick), awk and the Liberation
# fonts of Debian's fonts-liberation2. Every random texture has a fixed seed,
# so a run gives the same pictures each time.
set -euo pipefail

IM=${IM:-convert}
# Random textures are made row by row in parallel threads, each with its own
# generator; one thread keeps a seeded texture the same from run to run.
export MAGICK_THREAD_LIMIT=1
FONT_DIR=${FONT_DIR:-/usr/share/fonts/truetype/liberation2}
SERIF_BOLD=$FONT_DIR/LiberationSerif-Bold.ttf
SANS_BOLD=$FONT_DIR/LiberationSans-Bold.ttf

OUT=$(cd "$(dirname "$0")/../.." && pwd)/resources
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT INT TERM
mkdir -p "$OUT"

WIDTH=600
HEIGHT=450
SIZE=${WIDTH}x${HEIGHT}

# Menu labels: name, text, font size, click area (x y w h), highlight area
# (x y w h). The areas are the window layout's; the text lies inside the
# click area and the lit copy is cut out along the highlight area.
MENU=(
    "LiveChat|Live Chat|17|96 22 135 27|10 22 221 32"
    "AccountSignup|Account Signup|17|18 55 177 27|10 54 187 32"
    "RegisterAccount|Register Account|17|18 87 143 27|10 86 152 32"
    "ViewWebsite|View Website|17|16 118 121 27|10 118 127 32"
    "GameForum|Game Forum|17|12 151 103 27|10 150 105 32"
    "Problems|Problems|17|17 183 81 27|10 182 89 32"
    "Clans|Clans|17|31 215 57 27|10 214 75 29"
    "PlayGame|Play Game|28|63 408 185 42|63 403 185 47"
    "Exit|Exit|22|501 412 94 32|501 412 94 32"
)

jpeg() { # in out: the committed form of a picture
    "$IM" "$1" -alpha off -strip -sampling-factor 1x1 -quality 92 "$2"
}

layer() { # colour mask out: a flat colour with a grey mask as its alpha
    "$IM" -size "$SIZE" "xc:$1" "$2" -alpha off -compose CopyOpacity -composite "$3"
}

# ------------------------------------------------------ the application icon
# A gold medallion with the title's serif Q on the night sky of the main
# window, drawn at 256 px and scaled down for every size the desktops ask for
# (PNG files for Qt and Linux, one .ico for the Windows version resource).
icon() {
    local s=256 c=128
    mkdir -p "$OUT/icons"
    "$IM" -size ${s}x${s} xc:black -fill white -draw "circle $c,$c $c,5" "$W/icdisc.png"
    "$IM" -size ${s}x${s} xc:black -fill white -draw "circle $c,$c $c,25" "$W/icinner.png"
    "$IM" -size ${s}x$((s / 2)) gradient:'#fff2bf-#e0a640' \
        -size ${s}x$((s / 2)) gradient:'#d9a144-#7c4a14' -append "$W/icgold.png"
    "$IM" -size ${s}x${s} radial-gradient:'#4a3f6e-#0a0f27' "$W/icsky.png"
    "$IM" -size ${s}x${s} xc:black -font "$SERIF_BOLD" -pointsize 168 -fill white \
        -gravity center -annotate +0-2 'Q' "$W/icq.png"
    "$IM" "$W/icq.png" -morphology Dilate Disk:5 "$W/icqout.png"
    # Ring, then sky, then the letter's dark outline and its gold.
    "$IM" "$W/icgold.png" "$W/icdisc.png" -alpha off -compose CopyOpacity -composite \
        \( "$W/icsky.png" "$W/icinner.png" -alpha off -compose CopyOpacity -composite \) \
        -compose Over -composite \
        \( -size ${s}x${s} xc:'#1a0e04' "$W/icqout.png" -alpha off -compose CopyOpacity \
        -composite \) -compose Over -composite \
        \( "$W/icgold.png" "$W/icq.png" -alpha off -compose CopyOpacity -composite \) \
        -compose Over -composite \
        -fill none -stroke '#2a1b0c' -strokewidth 3 -draw "circle $c,$c $c,5" \
        -stroke '#5e4220' -strokewidth 2 -draw "circle $c,$c $c,25" "$W/icon.png"
    local size
    for size in 16 24 32 48 64 128 256; do
        "$IM" "$W/icon.png" -filter Lanczos -resize ${size}x${size} -depth 8 -strip \
            "$OUT/icons/quorvash-$size.png"
    done
    "$IM" "$OUT"/icons/quorvash-{16,24,32,48,64,128,256}.png "$OUT/icons/quorvash.ico"
}
# "--icon-only" draws the icon alone, leaving the pictures as they are.
if [ "${1:-}" = --icon-only ]; then
    icon
    echo "icon written to $OUT/icons"
    exit 0
fi

ridge() { # base amplitude seed-phase: polygon points of a mountain line
    awk -v base="$1" -v amp="$2" -v ph="$3" -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
        for (x = 0; x <= w; x += 5) {
            y = base + amp * (0.55 * sin(x / 53.0 + ph) + 0.30 * sin(x / 23.0 + 2.1 * ph) \
                              + 0.15 * sin(x / 9.0 + 3.7 * ph))
            printf "%d,%d ", x, y
        }
        printf "%d,%d 0,%d", w, h, h
    }'
}

pines() { # draw primitives of dark firs standing on the near hills
    local x y s
    for tree in "150 322 1.0" "168 326 0.8" "186 320 1.2" "462 326 0.9" "484 318 1.3" \
        "506 324 1.0" "548 316 1.4" "574 322 1.1"; do
        read -r x y s <<<"$tree"
        awk -v x="$x" -v y="$y" -v s="$s" 'BEGIN {
            for (i = 0; i < 3; i++) {
                b = y - i * 9 * s; t = b - 16 * s; hw = (9 - 2 * i) * s
                printf "polygon %d,%d %d,%d %d,%d ", x - hw, b, x, t, x + hw, b
            }
            printf "rectangle %d,%d %d,%d ", x - 1, y - 2, x + 1, y + 8
        }'
    done
}

stone() { # width height seed out: a dark weathered stone texture
    "$IM" -size "$1x$2" -seed "$3" plasma:grey35-grey65 -colorspace gray \
        \( -size "$1x$2" -seed "$3" xc: +noise Random -colorspace gray -blur 0x0.6 \) \
        -compose Overlay -composite -blur 0x0.5 -shade 125x42 -auto-level \
        -level 10%,95% +level-colors '#17130f','#6e604f' "$4"
}

# ---------------------------------------------------------------- the scene
scene() {
    # Dusk sky: deep blue overhead to a warm glow at the horizon.
    "$IM" -size 600x200 gradient:'#0a0f27-#34305c' \
        -size 600x120 gradient:'#34305c-#b8674a' -append \
        -size 600x130 xc:'#b8674a' -append "$W/sky.png"
    # Stars, thinning towards the horizon.
    "$IM" -size "$SIZE" xc: -seed 11 +noise Random -channel G -separate +channel \
        -threshold 99.55% -blur 0x0.45 -auto-level -level 0,45% \
        \( -size 600x260 gradient:white-black -size 600x190 xc:black -append \) \
        -compose Multiply -composite "$W/stars.png"
    # Clouds: wisps of plasma, pinkish, strongest above the horizon.
    "$IM" -size "$SIZE" -seed 23 plasma:fractal -colorspace gray -blur 0x3 \
        -level 52%,85% \( -size 600x90 xc:black -size 600x160 gradient:black-white \
        -size 600x200 gradient:white-black -append \) -compose Multiply -composite \
        -evaluate Multiply 0.55 "$W/cloudmask.png"
    layer '#e7a3a0' "$W/cloudmask.png" "$W/clouds.png"
    # Moon with a soft halo.
    "$IM" -size "$SIZE" xc:black -fill white -draw 'circle 532,126 532,102' "$W/moonmask.png"
    "$IM" "$W/moonmask.png" -blur 0x14 -evaluate Multiply 0.7 "$W/halomask.png"
    layer '#f6dfb2' "$W/halomask.png" "$W/halo.png"
    "$IM" -size "$SIZE" -seed 31 plasma:grey80-grey100 -colorspace gray -blur 0x1.5 \
        -auto-level +level-colors '#cdb894','#fff8e4' "$W/moontex.png"
    "$IM" "$W/moontex.png" "$W/moonmask.png" -alpha off -compose CopyOpacity -composite \
        "$W/moon.png"

    "$IM" "$W/sky.png" "$W/stars.png" -compose Screen -composite \
        "$W/halo.png" -compose Over -composite "$W/moon.png" -composite \
        "$W/clouds.png" -composite "$W/sky2.png"

    # Mountain ranges, paler with distance.
    "$IM" -size "$SIZE" xc:black -fill white -draw "polygon $(ridge 232 34 0.7)" "$W/far.png"
    "$IM" -size "$SIZE" xc:black -fill white -draw "polygon $(ridge 282 26 2.3)" "$W/mid.png"
    "$IM" -size "$SIZE" xc:black -fill white -draw "polygon $(ridge 328 14 4.1)" \
        -draw "$(pines)" "$W/near.png"
    "$IM" -size 600x200 xc:'#4a3f6e' -size 600x250 gradient:'#4a3f6e-#2a2440' -append \
        "$W/farcol.png"
    "$IM" "$W/farcol.png" "$W/far.png" -alpha off -compose CopyOpacity -composite "$W/farL.png"
    layer '#2a2238' "$W/mid.png" "$W/midL.png"
    # Mist lying in the valley in front of the far range.
    "$IM" -size "$SIZE" xc:black -fill white -draw 'rectangle 0,268 600,292' -blur 0x9 \
        -seed 41 \( -size "$SIZE" plasma:fractal -colorspace gray -blur 0x4 -level 30%,80% \) \
        -compose Multiply -composite -evaluate Multiply 0.55 "$W/mistmask.png"
    layer '#c7a4b4' "$W/mistmask.png" "$W/mist.png"

    # The castle on its crag, windows lit.
    "$IM" -size "$SIZE" xc:black -fill white -draw "
        polygon 262,340 292,306 316,286 340,278 404,276 428,288 452,310 486,340
        rectangle 325,247 420,284
        rectangle 314,206 336,284
        rectangle 354,190 391,284
        rectangle 404,216 426,284
        polygon 310,207 325,176 340,207
        polygon 350,191 372,146 395,191
        polygon 400,217 415,190 430,217
        rectangle 371,130 373,147
        polygon 373,130 388,135 373,140" "$W/castlemask.png"
    for x in $(seq 337 8 346) $(seq 395 8 403); do
        "$IM" "$W/castlemask.png" -fill white -draw "rectangle $x,242 $((x + 4)),247" \
            "$W/castlemask.png"
    done
    layer '#140f1c' "$W/castlemask.png" "$W/castle.png"
    "$IM" -size "$SIZE" xc:black -fill white -draw "
        rectangle 363,203 365,208  rectangle 379,203 381,208  rectangle 371,224 373,230
        rectangle 323,222 325,227  rectangle 413,232 415,237  rectangle 341,262 343,267
        rectangle 398,262 400,267  rectangle 371,250 373,256" "$W/winmask.png"
    "$IM" "$W/winmask.png" -blur 0x2.5 -evaluate Multiply 1.6 "$W/winglowmask.png"
    layer '#ff9a3c' "$W/winglowmask.png" "$W/winglow.png"
    layer '#ffd98a' "$W/winmask.png" "$W/windows.png"

    # Near hills and the dark ground of the foreground.
    stone 600 450 53 "$W/groundtex.png"
    "$IM" "$W/groundtex.png" -modulate 85,60 \
        \( -size 600x300 xc:'#3a3048' -size 600x150 gradient:'#3a3048-#100d16' -append \) \
        -compose Multiply -composite "$W/groundcol.png"
    "$IM" "$W/groundcol.png" "$W/near.png" -alpha off -compose CopyOpacity -composite \
        "$W/nearL.png"

    "$IM" "$W/sky2.png" "$W/farL.png" -compose Over -composite "$W/mist.png" -composite \
        "$W/midL.png" -composite "$W/castle.png" -composite "$W/winglow.png" -compose Screen \
        -composite "$W/windows.png" -compose Over -composite "$W/nearL.png" -composite \
        -paint 1 "$W/scene.png"
    # Darken the corners, as if lit by the sky from the middle.
    "$IM" -size 900x675 radial-gradient:white-'#2c2c2c' -gravity center -crop "$SIZE+0+0" \
        +repage "$W/vignette.png"
    "$IM" "$W/scene.png" "$W/vignette.png" -compose Multiply -composite "$W/scene2.png"
}

# ------------------------------------------------------- stone furniture
bevel() { # mask out: light from the upper left along the edges of a shape
    "$IM" "$1" -blur 0x2 -shade 120x35 -auto-level -level 25%,95% "$2"
}

slab() { # x y w h radius seed out: a bevelled stone slab layer with a bronze rim
    local x=$1 y=$2 w=$3 h=$4 r=$5 seed=$6 out=$7
    "$IM" -size "$SIZE" xc:black -fill white \
        -draw "roundrectangle $x,$y $((x + w - 1)),$((y + h - 1)) $r,$r" "$W/slabmask.png"
    stone "$WIDTH" "$HEIGHT" "$seed" "$W/slabtex.png"
    bevel "$W/slabmask.png" "$W/slabbevel.png"
    "$IM" "$W/slabtex.png" -modulate 62,85 "$W/slabbevel.png" -compose HardLight -composite \
        -fill none -stroke '#b98b44' -strokewidth 2 \
        -draw "roundrectangle $((x + 1)),$((y + 1)) $((x + w - 2)),$((y + h - 2)) $r,$r" \
        -stroke '#4b3820' -strokewidth 1 \
        -draw "roundrectangle $((x + 5)),$((y + 5)) $((x + w - 6)),$((y + h - 6)) $((r - 3)),$((r - 3))" \
        "$W/slabmask.png" -alpha off -compose CopyOpacity -composite "$W/slabL.png"
    # Drop shadow below and right of the slab.
    "$IM" "$W/slabmask.png" -blur 0x4 -roll +3+4 -evaluate Multiply 0.8 "$W/slabshadowmask.png"
    layer black "$W/slabshadowmask.png" "$W/slabshadow.png"
    "$IM" "$W/slabshadow.png" "$W/slabL.png" -compose Over -composite "$out"
}

furniture() {
    # The menu slab down the left edge.
    slab 4 12 236 240 12 61 "$W/menuslab.png"
    # The stone ledge along the bottom edge.
    "$IM" -size "$SIZE" xc:black -fill white -draw 'rectangle 0,401 599,449' "$W/ledgemask.png"
    stone "$WIDTH" "$HEIGHT" 67 "$W/ledgetex.png"
    "$IM" "$W/ledgetex.png" -modulate 60,85 \
        \( -size 600x401 xc:white -size 600x49 gradient:'#ffffff-#8a8a8a' -append \) \
        -compose Multiply -composite -fill none -stroke '#b98b44' -strokewidth 1 -draw 'line 0,402 599,402' \
        -stroke '#3a2a16' -draw 'line 0,403 599,403' \
        "$W/ledgemask.png" -alpha off -compose CopyOpacity -composite "$W/ledgeL.png"
    "$IM" -size "$SIZE" xc:black -fill white -draw 'rectangle 0,398 599,449' -blur 0x3 \
        -evaluate Multiply 0.8 "$W/ledgeshadowmask.png"
    layer black "$W/ledgeshadowmask.png" "$W/ledgeshadow.png"
    "$IM" "$W/ledgeshadow.png" "$W/ledgeL.png" -compose Over -composite \
        -fill '#8a6a38' -stroke none -draw 'polygon 374,418 382,426 374,434 366,426' \
        -fill '#8a6a38' -draw 'rectangle 262,425 358,427 rectangle 390,425 486,427' \
        "$W/ledge.png"
}

title() {
    "$IM" -size "$SIZE" xc:black -font "$SERIF_BOLD" -pointsize 60 -fill white \
        -gravity NorthWest -annotate +292+2 'Quorvash' "$W/titlemask.png"
    "$IM" -size 600x14 xc:'#fff4c2' -size 600x22 gradient:'#fff4c2-#e0a640' \
        -size 600x24 gradient:'#e0a640-#7c4a14' -append -size 600x390 xc:'#7c4a14' -append \
        "$W/titlegold.png"
    bevel "$W/titlemask.png" "$W/titlebevel.png"
    "$IM" "$W/titlegold.png" "$W/titlebevel.png" -compose Overlay -composite \
        "$W/titlemask.png" -alpha off -compose CopyOpacity -composite "$W/titlefill.png"
    "$IM" "$W/titlemask.png" -morphology Dilate Disk:2 "$W/titleoutmask.png"
    layer '#2a1606' "$W/titleoutmask.png" "$W/titleout.png"
    "$IM" "$W/titlemask.png" -morphology Dilate Disk:2 -blur 0x9 -evaluate Multiply 1.1 \
        "$W/titleglowmask.png"
    layer '#ff8c2a' "$W/titleglowmask.png" "$W/titleglow.png"
    "$IM" "$W/titleoutmask.png" -blur 0x3 -roll +3+4 "$W/titleshadowmask.png"
    layer black "$W/titleshadowmask.png" "$W/titleshadow.png"
    "$IM" "$W/titleglow.png" "$W/titleshadow.png" -compose Over -composite \
        "$W/titleout.png" -composite "$W/titlefill.png" -composite "$W/title.png"
}

frame() { # the bronze edge of the whole window
    "$IM" -size "$SIZE" xc:none -fill none -stroke '#5e4220' -strokewidth 4 \
        -draw 'rectangle 1,1 598,448' -stroke '#d7b066' -strokewidth 1 \
        -draw 'rectangle 3,3 596,446' -stroke '#2a1b0c' -draw 'rectangle 0,0 599,449' \
        "$W/frame.png"
}

# The small emblem left of Live Chat: two speech scrolls.
emblem() { # fill out
    "$IM" -size "$SIZE" xc:black -fill white -stroke white -strokewidth 1 \
        -draw 'ellipse 62,32 16,7 0,360' -draw 'polygon 52,36 48,44 60,38' \
        -draw 'ellipse 77,38 14,6 0,360' -draw 'polygon 85,42 89,48 80,43' \
        "$W/emblemmask.png"
    "$IM" "$W/emblemmask.png" -morphology Erode Disk:2 "$W/emblemin.png"
    "$IM" "$W/emblemmask.png" "$W/emblemin.png" -compose Minus_Src -composite \
        "$W/emblemrim.png"
    layer "$1" "$W/emblemrim.png" "$2"
}

# --------------------------------------------------------------- the labels
plaque() { # x y w h: mask of a button plaque
    "$IM" -size "$SIZE" xc:black -fill white \
        -draw "roundrectangle $1,$2 $(($1 + $3 - 1)),$(($2 + $4 - 1)) 8,8" "$W/plaquemask.png"
}

plaques() { # normal and lit plaques of Play Game and Exit
    local name x y w h
    for entry in "PlayGame 68 410 175 37" "Exit 505 415 86 26"; do
        read -r name x y w h <<<"$entry"
        plaque "$x" "$y" "$w" "$h"
        stone "$WIDTH" "$HEIGHT" 71 "$W/ptex.png"
        bevel "$W/plaquemask.png" "$W/pbevel.png"
        "$IM" "$W/ptex.png" -modulate 70,140,95 "$W/pbevel.png" -compose HardLight -composite \
            -fill none -stroke '#c99a4e' -strokewidth 2 \
            -draw "roundrectangle $((x + 1)),$((y + 1)) $((x + w - 2)),$((y + h - 2)) 8,8" \
            "$W/plaquemask.png" -alpha off -compose CopyOpacity -composite "$W/pface.png"
        "$IM" "$W/plaquemask.png" -blur 0x2.5 -roll +2+3 "$W/pshadowmask.png"
        layer black "$W/pshadowmask.png" "$W/pshadow.png"
        "$IM" "$W/pshadow.png" "$W/pface.png" -compose Over -composite "$W/plaque-$name.png"
        "$IM" "$W/pface.png" -modulate 150,125 -fill none -stroke '#ffe2a0' -strokewidth 2 \
            -draw "roundrectangle $((x + 1)),$((y + 1)) $((x + w - 2)),$((y + h - 2)) 8,8" \
            "$W/plaquemask.png" -alpha off -compose CopyOpacity -composite "$W/plit.png"
        "$IM" "$W/pshadow.png" "$W/plit.png" -compose Over -composite "$W/plaquelit-$name.png"
    done
}

label() { # name text size hx hy hw hh gx gy gw gh: normal and lit layers of one label
    local name=$1 text=$2 size=$3 hx=$4 hy=$5 hw=$6 hh=$7 gx=$8 gy=$9 gw=${10} gh=${11}
    local m=$W/lab-$name align=center
    # The menu column reads as a list: its labels start at the left of their
    # click areas (with a small margin); the two plaques centre theirs.
    if [ "$size" -lt 20 ]; then
        align=West hx=$((hx + 3)) hw=$((hw - 3))
    fi
    "$IM" -size "$SIZE" xc:black \( -size "${hw}x${hh}" xc:black -font "$SERIF_BOLD" \
        -pointsize "$size" -fill white -gravity "$align" -annotate +0+0 "$text" \) \
        +gravity -geometry "+$hx+$hy" -compose Over -composite "$m-mask.png"
    "$IM" -size "$SIZE" xc:'#8a5a1e' \( -size "${hw}x$((hh / 2))" gradient:'#fff2bf-#e2ae52' \
        -size "${hw}x$((hh - hh / 2))" gradient:'#d9a144-#8a5a1e' -append \) \
        -geometry "+$hx+$hy" -compose Over -composite "$m-gold.png"
    "$IM" -size "$SIZE" xc:'#ffd766' \( -size "${hw}x$((hh / 2))" gradient:'#ffffff-#fff3c4' \
        -size "${hw}x$((hh - hh / 2))" gradient:'#ffe9a0-#ffc23c' -append \) \
        -geometry "+$hx+$hy" -compose Over -composite "$m-bright.png"
    "$IM" "$m-mask.png" -morphology Dilate Disk:1.4 "$m-outmask.png"
    "$IM" "$m-outmask.png" -blur 0x1.5 -roll +1+2 "$m-shadowmask.png"
    # Keeps the glow inside the highlight area, fading out before its edge.
    "$IM" -size "$SIZE" xc:black -fill white \
        -draw "rectangle $((gx + 2)),$((gy + 2)) $((gx + gw - 3)),$((gy + gh - 3))" -blur 0x1.5 \
        "$m-area.png"
    "$IM" "$m-mask.png" -morphology Dilate Disk:1.5 -blur 0x3.5 -level 0,30% "$m-area.png" \
        -compose Multiply -composite "$m-glowmask.png"

    layer '#1a0e04' "$m-outmask.png" "$m-out.png"
    layer black "$m-shadowmask.png" "$m-shadow.png"
    layer '#ff9226' "$m-glowmask.png" "$m-glow.png"
    "$IM" "$m-gold.png" "$m-mask.png" -alpha off -compose CopyOpacity -composite "$m-fill.png"
    "$IM" "$m-bright.png" "$m-mask.png" -alpha off -compose CopyOpacity -composite "$m-lfill.png"
    "$IM" "$m-shadow.png" "$m-out.png" -compose Over -composite "$m-fill.png" -composite \
        "$W/normal-$name.png"
    "$IM" "$m-glow.png" "$m-out.png" -compose Over -composite "$m-lfill.png" -composite \
        "$W/lit-$name.png"
}

# ------------------------------------------------------------ composition
scene
furniture
title
frame
plaques
emblem '#c99a4e' "$W/emblem.png"
emblem '#ffe7a0' "$W/emblemlit.png"

"$IM" "$W/scene2.png" "$W/menuslab.png" -compose Over -composite "$W/ledge.png" -composite \
    "$W/title.png" -composite "$W/frame.png" -composite "$W/base.png"

names=()
for entry in "${MENU[@]}"; do
    IFS='|' read -r name text size hot area <<<"$entry"
    # shellcheck disable=SC2086 # the areas are lists of numbers
    label "$name" "$text" "$size" $hot $area
    names+=("$name")
done
# The emblem glows with Live Chat, inside the same highlight area.
"$IM" "$W/emblemlit.png" -alpha extract -blur 0x2.5 -level 0,50% "$W/lab-LiveChat-area.png" \
    -compose Multiply -composite "$W/emblemglowmask.png"
layer '#ff9226' "$W/emblemglowmask.png" "$W/emblemglow.png"

compose() { # lit-name out: the window with one label (or none) lit
    local lit=$1 args=("$W/base.png")
    for p in PlayGame Exit; do
        if [ "$p" = "$lit" ]; then
            args+=("$W/plaquelit-$p.png" -compose Over -composite)
        else
            args+=("$W/plaque-$p.png" -compose Over -composite)
        fi
    done
    if [ "$lit" = LiveChat ]; then
        args+=("$W/emblemglow.png" -composite "$W/emblemlit.png" -composite)
    else
        args+=("$W/emblem.png" -composite)
    fi
    for n in "${names[@]}"; do
        if [ "$n" = "$lit" ]; then
            args+=("$W/lit-$n.png" -composite)
        else
            args+=("$W/normal-$n.png" -composite)
        fi
    done
    "$IM" "${args[@]}" "$2"
}

compose none "$W/background.png"
jpeg "$W/background.png" "$OUT/imgBackground.jpg"
for entry in "${MENU[@]}"; do
    IFS='|' read -r name text size hot area <<<"$entry"
    read -r gx gy gw gh <<<"$area"
    compose "$name" "$W/lit.png"
    "$IM" "$W/lit.png" -crop "${gw}x${gh}+$gx+$gy" +repage "$W/crop.png"
    jpeg "$W/crop.png" "$OUT/img_mo$name.jpg"
done

# ------------------------------------------------- status panel and bar
# The panel is the background behind it, dimmed and frosted, in a bronze rim,
# so it reads as a pane of smoked glass over the scene.
"$IM" "$W/background.png" -crop 410x135+160+146 +repage -blur 0x4 -modulate 45,70 \
    \( -size 410x135 xc:'#0b0814' \) -compose Blend -define compose:args=35 -composite \
    -fill none -stroke '#2a1b0c' -strokewidth 1 -draw 'rectangle 0,0 409,134' \
    -stroke '#b98b44' -strokewidth 2 -draw 'rectangle 2,2 407,132' \
    -stroke '#5e4220' -strokewidth 1 -draw 'rectangle 5,5 404,129' \
    -stroke '#7a5a2a' -draw 'line 40,34 370,34' \
    "$W/status.png"
jpeg "$W/status.png" "$OUT/imgStatus.jpg"

# Empty bar: a groove cut into dark stone, bronze rim, shadow along the top.
stone 300 22 83 "$W/bartex.png"
"$IM" "$W/bartex.png" -modulate 45 \
    \( -size 300x22 gradient:'#000000-#5a5a5a' \) -compose Multiply -composite \
    -fill none -stroke '#b98b44' -strokewidth 1 -draw 'rectangle 0,0 299,21' \
    -stroke '#3a2a16' -draw 'rectangle 1,1 298,20' "$W/barbg.png"
jpeg "$W/barbg.png" "$OUT/imgDownloadBarBg.jpg"
# Filled bar: every column alike, so it can be cut or stretched to any width;
# the top and bottom rows repeat the groove's rim.
"$IM" -size 15x1 xc:'#b98b44' -size 15x1 xc:'#6a3c0c' \
    -size 15x6 gradient:'#fff2b0-#ffc445' -size 15x12 gradient:'#f29a1c-#8a3a06' -append \
    -append -size 15x1 xc:'#4a2206' -append -size 15x1 xc:'#b98b44' -append "$W/bar.png"
jpeg "$W/bar.png" "$OUT/imgDownloadBar.jpg"

# ------------------------------------- picture buttons of the error report
button() { # w h text lit out
    local w=$1 h=$2 text=$3 lit=$4 out=$5 top bottom ink glow
    if [ "$lit" = yes ]; then
        top='#c7924a' bottom='#6b3f12' ink='#fffbe6' glow='#ffb347'
    else
        top='#7c5a30' bottom='#3a2510' ink='#f1d9a0' glow='none'
    fi
    "$IM" -size "${w}x${h}" gradient:"$top-$bottom" \
        \( -size "${w}x${h}" -seed 97 xc: +noise Random -colorspace gray -blur 0x0.7 \) \
        -compose SoftLight -composite \
        -fill none -stroke '#2a1b0c' -strokewidth 1 -draw "rectangle 0,0 $((w - 1)),$((h - 1))" \
        -stroke '#e8c27a' -draw "line 1,1 $((w - 2)),1 line 1,1 1,$((h - 2))" \
        -stroke '#2a1606' -draw "line 1,$((h - 2)) $((w - 2)),$((h - 2))" \
        -draw "line $((w - 2)),1 $((w - 2)),$((h - 2))" "$W/btn.png"
    if [ "$glow" != none ]; then
        "$IM" "$W/btn.png" \( -size "${w}x${h}" xc:none -font "$SANS_BOLD" -pointsize 12 \
            -fill "$glow" -gravity center -annotate +0+0 "$text" -blur 0x2 \
            -channel A -evaluate Multiply 2.5 +channel \) \
            -compose Over -composite "$W/btn.png"
    fi
    "$IM" "$W/btn.png" -font "$SANS_BOLD" -pointsize 12 -gravity center \
        -fill '#1a0e04' -annotate +1+1 "$text" -fill "$ink" -annotate +0+0 "$text" "$W/btn2.png"
    jpeg "$W/btn2.png" "$out"
}
button 160 22 'Send Error Report' no "$OUT/imgSendErrorReportOff.jpg"
button 160 22 'Send Error Report' yes "$OUT/imgSendErrorReportOn.jpg"
button 66 24 'Cancel' no "$OUT/imgCancelOff.jpg"
button 66 24 'Cancel' yes "$OUT/imgCancelOn.jpg"

icon

echo "pictures written to $OUT"
