#!/usr/bin/env bash
# Draws Lumora's window artwork and program icon into resources/art/.
#
# Needs ImageMagick 6 (convert), awk and the URW base fonts (Debian:
# fonts-urw-base35) for the logo's lettering. The outputs are committed, so the
# build itself never runs this script; run it again after changing the art:
#
#   scripts/make-art.sh            # writes resources/art/*
#   scripts/make-art.sh --preview  # also writes mock-ups to /tmp/lumora-*.png
#
# Everything is drawn from plain shapes and gradients. Window art is stored
# as BMP, which Windows 2000 and XP read without extra decoders:
#   *.bmp        8-bit BMP with its own palette of at most 256 colours,
#                run-length compressed (BITMAPINFOHEADER, BI_RLE8), which
#                GDI expands on every Windows version (SetDIBits into an
#                8-bit DIB section; a DIB section itself cannot be
#                compressed, so LoadImage with LR_CREATEDIBSECTION refuses
#                it). Areas of few colours (the link
#                column, the footer, the white ground) keep their exact
#                colours; the header bands, the logo and the about box's art
#                are reduced to 256 colours without dithering, within a few
#                levels of the drawing, so that they stay flat runs. Pieces
#                that lie on other art (logo, nav buttons) are pre-composed on
#                the pixels of the background they sit on, so they can be
#                drawn opaque at their fixed places. The large icon of the
#                about box is pre-composed on white, the about box's ground.
#   *-alpha.bmp  32-bit BMP (BITMAPINFOHEADER, BI_RGB) with straight,
#                non-premultiplied alpha in the fourth byte, for drawing with
#                AlphaBlend after premultiplying, or for 32-bit image lists
#                (the program uses those of the list icons only).
# The 16 x 16 list icons come as 24-bit with magenta (#FF00FF) as the
# transparent key colour (edges blended on white) and as 32-bit with alpha.
# Lumora.ico holds 16, 32 and 48 px images as 32-bit uncompressed DIBs with
# an AND mask, which Windows 2000 and XP use, and the 256 px image as a
# 32-bit PNG entry, which Windows Vista and later read and older systems
# never choose for sizes up to 48 px.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT="$ROOT/resources/art"
PREVIEW=0
[[ "${1:-}" == "--preview" ]] && PREVIEW=1

T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
mkdir -p "$OUT"

# Palette.
HEAD_L='#0B2C4B'     # header band, left end (deep blue)
HEAD_R='#0E6675'     # header band, right end (teal)
ACCENT='#3CC6CC'     # soft aqua accent
ACCENT2='#8FE3E2'    # light aqua (logo tagline)
TILE_A='#43D3D2'     # icon tile, top left
TILE_B='#1B5DB5'     # icon tile, bottom right
SIDE_T='#F1F6F9'     # link column, top
SIDE_B='#E5EDF3'     # link column, bottom
RULE='#D2DCE4'       # hairlines on light ground
FOOT='#EAF0F4'       # footer strip

FONT_NAME='URW-Gothic-Demi'
FONT_TAG='URW-Gothic-Book'

# ---------------------------------------------------------------------------
# Helpers

# 24-bit BMP from any image; transparent parts over the given colour.
save24() { # in out [background]
    convert "$1" -background "${3:-white}" -alpha remove -alpha off \
        -type TrueColor BMP3:"$2"
}

# 8-bit run-length compressed BMP; more than 256 colours are reduced to 256
# (or to the given number) without dithering, fewer are kept exactly.
save8() { # in out [colours]
    local colours
    colours=$(convert "$1" -background white -alpha remove -alpha off -format %k info:)
    local reduce=()
    if ((colours > ${3:-256})); then reduce=(+dither -colors "${3:-256}"); fi
    convert "$1" -background white -alpha remove -alpha off "${reduce[@]}" \
        -type Palette -compress RLE BMP3:"$2"
}

# 32-bit BMP with straight alpha.
save32() { # in out
    convert "$1" -alpha on -define bmp3:alpha=true -type TrueColorAlpha \
        BMP3:"$2"
}

# Point on a circle, in the image's coordinates (0 degrees = east, clockwise).
pt() { # cx cy r deg
    awk -v cx="$1" -v cy="$2" -v r="$3" -v a="$4" \
        'BEGIN { t = a * atan2(0, -1) / 180; printf "%.1f,%.1f", cx + r * cos(t), cy + r * sin(t) }'
}

# Points along an arc from a0 to a1 degrees, for an open polyline.
arcpts() { # cx cy r a0 a1
    awk -v cx="$1" -v cy="$2" -v r="$3" -v a0="$4" -v a1="$5" 'BEGIN {
        n = int((a1 - a0) / 2) + 1
        for (i = 0; i <= n; i++) {
            t = (a0 + (a1 - a0) * i / n) * atan2(0, -1) / 180
            printf "%.1f,%.1f ", cx + r * cos(t), cy + r * sin(t)
        }
    }'
}

# The program's mark on a 1024 x 1024 transparent canvas: a rounded tile in
# aqua-to-blue with a white gauge, lit up to where its needle points. "bold"
# thickens the strokes for the small icon sizes; "plain" leaves out the tile
# and draws the gauge alone in the tile's blue.
mark() { # out [bold]
    local out=$1 bold=${2:-}
    local cx=512 cy=568 r=292 sw=84 hub=62 inner=24 nb=34 nt=10 reading=315
    if [[ $bold == bold ]]; then r=286 sw=128 hub=84 inner=0 nb=52 nt=22; fi
    local lit dim tip b1 b2 t1 t2
    lit=$(arcpts $cx $cy $r 135 $reading)
    dim=$(arcpts $cx $cy $r $reading 405)
    tip=$(pt $cx $cy $((r - sw / 2 - 22)) $reading)
    b1=$(pt $cx $cy $nb $((reading + 90)))
    b2=$(pt $cx $cy $nb $((reading - 90)))
    t1=$(pt "${tip%,*}" "${tip#*,}" $nt $((reading + 90)))
    t2=$(pt "${tip%,*}" "${tip#*,}" $nt $((reading - 90)))

    local ink=white dimink='rgba(255,255,255,0.40)' holeink=$TILE_B tile=()
    if [[ $bold == plain ]]; then
        ink=$TILE_B dimink='rgba(27,93,181,0.45)' holeink=none
        tile=(-size 1024x1024 xc:none)
    else
        tile=(-size 1024x1024 -define gradient:angle=135 gradient:"$TILE_A-$TILE_B"
            \( -size 1024x1024 xc:black -fill white
               -draw "roundrectangle 28,28 995,995 230,230" \)
            -alpha off -compose CopyOpacity -composite
            \( -size 1024x1024 -define gradient:angle=180
               gradient:'rgba(255,255,255,0.16)-rgba(255,255,255,0)'
               \( -size 1024x1024 xc:none -fill white
                  -draw "roundrectangle 28,28 995,995 230,230" \)
               -compose DstIn -composite \) -compose Over -composite)
    fi
    convert "${tile[@]}" \
        \( -size 1024x1024 xc:none -fill none -strokewidth $sw \
           -stroke "$dimink" \
           -draw "stroke-linecap round stroke-linejoin round polyline $dim" \
           -stroke "$ink" \
           -draw "stroke-linecap round stroke-linejoin round polyline $lit" \
           -stroke none -fill "$ink" \
           -draw "polygon $b1 $tip $b2" \
           -draw "polygon $b1 $t1 $t2 $b2" \
           -draw "circle $cx,$cy $((cx + hub)),$cy" \) \
        -compose Over -composite \
        \( -size 1024x1024 xc:none -fill "$holeink" \
           -draw "circle $cx,$cy $((cx + inner)),$cy" \) \
        -compose Over -composite \
        "$out"
}

# Downscale a 1024 master with area averaging.
shrink() { # in size out
    convert "$1" -filter Box -resize "$2x$2" "$3"
}

# Soft light ribbons laid over the header and the about banner.
ribbons() { # width height out
    local w=$1 h=$2
    convert -size "${w}x${h}" xc:none -fill none \
        -stroke 'rgba(255,255,255,0.07)' -strokewidth 26 \
        -draw "path 'M $((w * 30 / 100)),$((h + 20)) C $((w * 55 / 100)),$((h * 40 / 100)) $((w * 75 / 100)),$((h * 110 / 100)) $((w + 20)),-10'" \
        -stroke 'rgba(255,255,255,0.05)' -strokewidth 12 \
        -draw "path 'M $((w * 42 / 100)),$((h + 20)) C $((w * 62 / 100)),$((h * 20 / 100)) $((w * 82 / 100)),$((h * 80 / 100)) $((w + 20)),$((h * 10 / 100))'" \
        -stroke 'rgba(143,227,226,0.10)' -strokewidth 2 \
        -draw "path 'M $((w * 36 / 100)),$((h + 10)) C $((w * 58 / 100)),$((h * 30 / 100)) $((w * 78 / 100)),$((h * 95 / 100)) $((w + 20)),0'" \
        -blur 0x1.2 "$3"
}

# A header-style band: horizontal deep blue to teal, a little darker towards
# the bottom, with the light ribbons.
band() { # width height out
    local w=$1 h=$2
    ribbons "$w" "$h" "$T/ribbons-$w.png"
    convert -size "${h}x${w}" gradient:"$HEAD_L-$HEAD_R" -rotate -90 \
        \( -size "${w}x${h}" gradient:'rgba(255,255,255,0.06)-rgba(0,0,0,0.12)' \) \
        -compose Over -composite \
        "$T/ribbons-$w.png" -compose Over -composite "$3"
}

# ---------------------------------------------------------------------------
# The mark: regular, bold (small icon sizes) and plain (watermark).
mark "$T/mark.png"
mark "$T/mark-bold.png" bold
mark "$T/mark-plain.png" plain

# ---------------------------------------------------------------------------
# Main window background, 764 x 500.
W=764 H=500 HB=88
band $W $HB "$T/header.png"
# Faint large mark at the foot of the link column.
convert "$T/mark-plain.png" -resize 132x132 -alpha on -channel A -evaluate multiply 0.10 +channel \
    "$T/side-mark.png"
convert -size ${W}x${H} xc:white \
    "$T/header.png" -geometry +0+0 -compose Over -composite \
    \( -size ${W}x3 gradient:"$ACCENT-$HEAD_R" -rotate 180 \) -geometry +0+$HB -compose Over -composite \
    \( -size 182x388 gradient:"$SIDE_T-$SIDE_B" \) -geometry +0+91 -compose Over -composite \
    "$T/side-mark.png" -geometry +25+330 -compose Over -composite \
    -fill "$RULE" -draw "line 181,91 181,478" \
    -fill "$RULE" -draw "line 16,123 166,123" -draw "line 16,229 166,229" \
    \( -size ${W}x21 gradient:"$FOOT-#E2E9EE" \) -geometry +0+479 -compose Over -composite \
    -fill "$RULE" -draw "line 0,479 763,479" \
    "$T/background.png"
# The header rows share the palette with the exact colours of the rest.
convert "$T/background.png" -crop ${W}x$((HB + 3))+0+0 +repage "$T/bg-head.png"
convert "$T/background.png" -crop ${W}x$((H - HB - 3))+0+$((HB + 3)) +repage "$T/bg-body.png"
body_colours=$(convert "$T/bg-body.png" -format %k info:)
convert "$T/bg-head.png" +dither -colors $((256 - body_colours)) "$T/bg-head8.png"
convert "$T/bg-head8.png" "$T/bg-body.png" -append "$T/background8.png"
save8 "$T/background8.png" "$OUT/Background.bmp"

# Header crop under a piece at x,y of size w x h (for opaque pieces).
under() { # x y w h out
    convert "$T/background.png" -crop "$3x$4+$1+$2" +repage "$5"
}

# ---------------------------------------------------------------------------
# Logo, 400 x 50, drawn at 8,16.
shrink "$T/mark.png" 44 "$T/mark44.png"
convert -size 400x50 xc:none \
    \( "$T/mark44.png" -background 'rgba(0,0,0,0.45)' -shadow 60x2+0+1 \) -geometry +1+3 -compose Over -composite \
    "$T/mark44.png" -geometry +2+3 -compose Over -composite \
    -font "$FONT_NAME" -pointsize 39 -fill white -gravity NorthWest -annotate +56+3 'Lumora' \
    -fill 'rgba(143,227,226,0.55)' -draw "rectangle 210,13 210,39" \
    -font "$FONT_TAG" -pointsize 14 -fill "$ACCENT2" -annotate +222+8 'Computer & Internet' \
    -annotate +222+25 'Optimizer' \
    "$T/logo.png"
save32 "$T/logo.png" "$OUT/TopLogo-alpha.bmp"
under 8 16 400 50 "$T/logo-under.png"
convert "$T/logo-under.png" "$T/logo.png" -compose Over -composite "$T/logo-on.png"
save8 "$T/logo-on.png" "$OUT/TopLogo.bmp"

# ---------------------------------------------------------------------------
# Nav buttons: glassy pills with a small white symbol at the left; the program
# writes the label from about 30 px on.
glyph() { # kind out   (64 x 64, white, to be shrunk to 16 x 16)
    local g=(-size 64x64 xc:none -fill none -stroke white -strokewidth 6)
    case $1 in
    help)
        convert "${g[@]}" -draw "circle 32,32 32,5" \
            -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 42 \
            -gravity center -annotate +0+1 '?' "$2" ;;
    home)
        convert "${g[@]}" \
            -draw "stroke-linejoin round stroke-linecap round polyline 7,32 32,9 57,32" \
            -draw "stroke-linejoin round polyline 15,27 15,55 49,55 49,27" \
            -stroke none -fill white -draw "rectangle 27,38 37,55" "$2" ;;
    support)
        convert "${g[@]}" \
            -draw "stroke-linecap round path 'M 10,38 L 10,32 A 22,22 0 0,1 54,32 L 54,38'" \
            -stroke none -fill white \
            -draw "roundrectangle 5,33 18,50 4,4" -draw "roundrectangle 46,33 59,50 4,4" \
            -fill none -stroke white -strokewidth 4 \
            -draw "stroke-linecap round path 'M 52,50 C 52,58 44,60 36,60'" \
            -stroke none -fill white -draw "roundrectangle 28,56 38,63 3,3" "$2" ;;
    about)
        convert "${g[@]}" -draw "circle 32,32 32,5" \
            -stroke none -fill white -draw "circle 32,19 32,23.5" \
            -draw "roundrectangle 28,28 36,48 2,2" "$2" ;;
    esac
}

navbutton() { # n x y w kind
    local n=$1 x=$2 y=$3 w=$4 kind=$5 S=4
    local W4=$((w * S)) H4=$((27 * S))
    glyph "$kind" "$T/glyph-$kind.png"
    # Pill at 4x, inset by 2 px left and right so neighbouring pills stay apart.
    convert -size ${W4}x${H4} xc:none \
        \( -size ${W4}x${H4} gradient:'rgba(255,255,255,0.24)-rgba(255,255,255,0.08)' \
           \( -size ${W4}x${H4} xc:none -fill white \
              -draw "roundrectangle $((2 * S)),$((1 * S)) $((W4 - 2 * S - 1)),$((H4 - 1 * S - 1)) $((12 * S)),$((12 * S))" \) \
           -compose DstIn -composite \) -compose Over -composite \
        -fill none -stroke 'rgba(255,255,255,0.38)' -strokewidth $S \
        -draw "roundrectangle $((2 * S + 2)),$((1 * S + 2)) $((W4 - 2 * S - 3)),$((H4 - 1 * S - 3)) $((12 * S - 2)),$((12 * S - 2))" \
        -filter Box -resize "${w}x27" \
        \( "$T/glyph-$kind.png" -filter Box -resize 14x14 -channel A -evaluate multiply 0.92 +channel \) \
        -geometry +10+7 -compose Over -composite \
        "$T/nav$n.png"
    save32 "$T/nav$n.png" "$OUT/NavButton$n-alpha.bmp"
    under "$x" "$y" "$w" 27 "$T/nav$n-under.png"
    convert "$T/nav$n-under.png" "$T/nav$n.png" -compose Over -composite "$T/nav$n-on.png"
    save8 "$T/nav$n-on.png" "$OUT/NavButton$n.bmp"
}
navbutton 1 672 16 78 help
navbutton 2 471 58 85 home
navbutton 3 556 58 108 support
navbutton 4 664 58 99 about

# ---------------------------------------------------------------------------
# List icons, drawn at 64 x 64 on a 4 px grid and averaged down to 16 x 16
# and, for the lists at larger dpi settings, to 24 x 24 and 32 x 32.
icon() { # name out
    local c=(-size 64x64 xc:none)
    case $1 in
    workstation) # monitor on a stand
        convert "${c[@]}" \
            -fill '#33475B' -draw "roundrectangle 2,6 61,46 6,6" \
            \( -size 48x32 gradient:'#7CC8F0-#1F6FBF' \) -geometry +8+10 -compose Over -composite \
            -fill 'rgba(255,255,255,0.35)' -draw "polygon 8,10 40,10 8,34" \
            -fill '#5D6E80' -draw "rectangle 26,46 37,54" \
            -fill '#33475B' -draw "roundrectangle 14,53 49,61 3,3" "$2" ;;
    server) # tower with three bays and lights
        convert "${c[@]}" \
            \( -size 40x60 gradient:'#5B6878-#2E3845' \) -geometry +12+2 -compose Over -composite \
            \( -size 64x64 xc:black -fill white -draw "roundrectangle 12,2 51,61 6,6" \) \
            -alpha off -compose CopyOpacity -composite \
            -fill '#9AA8B8' -draw "rectangle 18,10 45,17" -draw "rectangle 18,22 45,29" -draw "rectangle 18,34 45,41" \
            -fill '#3BD16F' -draw "rectangle 38,12 42,15" -draw "rectangle 38,24 42,27" \
            -fill '#F2B233' -draw "rectangle 38,36 42,39" \
            -fill '#C7D1DC' -draw "circle 32,52 32,56" "$2" ;;
    processor) # square chip with pins on every side
        local pins=()
        for p in 18 30 42; do
            pins+=(-draw "rectangle $p,2 $((p + 4)),14" -draw "rectangle $p,50 $((p + 4)),62"
                   -draw "rectangle 2,$p 14,$((p + 4))" -draw "rectangle 50,$p 62,$((p + 4))")
        done
        convert "${c[@]}" -fill '#B9C3CE' "${pins[@]}" \
            -fill '#2F3C4C' -draw "roundrectangle 10,10 53,53 6,6" \
            \( -size 24x24 gradient:"$TILE_A-$TILE_B" \) -geometry +20+20 -compose Over -composite \
            -fill 'rgba(255,255,255,0.8)' -draw "rectangle 20,20 23,23" "$2" ;;
    network) # globe with meridians
        convert "${c[@]}" \
            \( -size 64x64 -define gradient:angle=135 gradient:'#8AD8F2-#1D63B8' \
               \( -size 64x64 xc:black -fill white -draw "circle 32,32 32,3" \) \
               -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
            -fill none -stroke 'rgba(255,255,255,0.9)' -strokewidth 4 \
            -draw "ellipse 32,32 12,28 0,360" -draw "line 5,32 59,32" \
            -stroke '#174E92' -strokewidth 4 -draw "circle 32,32 32,4" "$2" ;;
    esac
}
for name in workstation server processor network; do
    icon $name "$T/icon-$name-64.png"
    convert "$T/icon-$name-64.png" -filter Box -resize 16x16 "$T/icon-$name.png"
    save32 "$T/icon-$name.png" "$OUT/Icon${name^}-alpha.bmp"
    # Keyed version: mostly transparent pixels become magenta, the rest is
    # blended on white (the list's window colour).
    convert "$T/icon-$name.png" -background white -alpha remove -alpha off "$T/icon-$name-white.png"
    convert "$T/icon-$name.png" -alpha extract -threshold 50% "$T/icon-$name-mask.png"
    convert -size 16x16 xc:'#FF00FF' "$T/icon-$name-white.png" "$T/icon-$name-mask.png" \
        -compose Over -composite "$T/icon-$name-keyed.png"
    save24 "$T/icon-$name-keyed.png" "$OUT/Icon${name^}.bmp"
    for size in 24 32; do
        convert "$T/icon-$name-64.png" -filter Box -resize ${size}x$size "$T/icon-$name-$size.png"
        save32 "$T/icon-$name-$size.png" "$OUT/Icon${name^}-$size-alpha.bmp"
    done
done

# ---------------------------------------------------------------------------
# About box banner, 700 x 60; the program writes its title at 48,18.
band 700 57 "$T/banner-band.png"
shrink "$T/mark-bold.png" 28 "$T/mark28.png"
convert -size 700x60 xc:white "$T/banner-band.png" -geometry +0+0 -compose Over -composite \
    \( -size 700x3 gradient:"$ACCENT-$HEAD_R" -rotate 180 \) -geometry +0+57 -compose Over -composite \
    \( "$T/mark28.png" -background 'rgba(0,0,0,0.45)' -shadow 60x1.5+0+1 \) -geometry +11+13 -compose Over -composite \
    "$T/mark28.png" -geometry +12+13 -compose Over -composite \
    "$T/banner.png"
save8 "$T/banner.png" "$OUT/Banner.bmp"

# ---------------------------------------------------------------------------
# Large icon for the about box, 256 x 256: the mark, faded, with a soft halo;
# texts are written over it.
convert -size 256x256 radial-gradient:'rgba(60,198,204,0.14)-rgba(60,198,204,0)' "$T/halo.png"
convert "$T/mark.png" -resize 196x196 -alpha on -channel A -evaluate multiply 0.16 +channel "$T/soft-mark.png"
convert "$T/halo.png" "$T/soft-mark.png" -geometry +30+40 -compose Over -composite "$T/large.png"
save32 "$T/large.png" "$OUT/LargeIcon-alpha.bmp"
save8 "$T/large.png" "$OUT/LargeIcon.bmp"

# ---------------------------------------------------------------------------
# Program icon: 16 and 32 from the bold mark, 48 and 256 from the regular one.
shrink "$T/mark-bold.png" 16 "$T/ico16.png"
shrink "$T/mark-bold.png" 32 "$T/ico32.png"
shrink "$T/mark.png" 48 "$T/ico48.png"
shrink "$T/mark.png" 256 "$T/ico256.png"
# ImageMagick writes images of 256 px as PNG entries and smaller ones as DIBs.
convert "$T/ico16.png" "$T/ico32.png" "$T/ico48.png" \
    \( "$T/ico256.png" -define png:color-type=6 -define png:bit-depth=8 \) "$OUT/Lumora.ico"

# ---------------------------------------------------------------------------
# Checks: every file's size and depth.
check() { # file geometry
    local got
    got=$(identify -format '%wx%h\n' "$1" | head -n1)
    [[ $got == "$2" ]] || { echo "make-art: $1 is $got, expected $2" >&2; exit 1; }
}
# The window art the program loads: 8-bit, run-length compressed.
for f in Background TopLogo NavButton1 NavButton2 NavButton3 NavButton4 Banner LargeIcon; do
    [[ $(identify -format '%z %C' "$OUT/$f.bmp") == "8 RLE" ]] ||
        { echo "make-art: $f.bmp is not an 8-bit RLE bitmap" >&2; exit 1; }
done
check "$OUT/Background.bmp" 764x500
check "$OUT/TopLogo.bmp" 400x50
check "$OUT/TopLogo-alpha.bmp" 400x50
for n in 1:78 2:85 3:108 4:99; do
    check "$OUT/NavButton${n%:*}.bmp" "${n#*:}x27"
    check "$OUT/NavButton${n%:*}-alpha.bmp" "${n#*:}x27"
done
for name in Workstation Server Processor Network; do
    check "$OUT/Icon$name.bmp" 16x16
    check "$OUT/Icon$name-alpha.bmp" 16x16
    check "$OUT/Icon$name-24-alpha.bmp" 24x24
    check "$OUT/Icon$name-32-alpha.bmp" 32x32
done
check "$OUT/Banner.bmp" 700x60
check "$OUT/LargeIcon.bmp" 256x256
check "$OUT/LargeIcon-alpha.bmp" 256x256
[[ $(identify "$OUT/Lumora.ico" | wc -l) == 4 ]] || { echo "make-art: Lumora.ico needs 4 images" >&2; exit 1; }

# ---------------------------------------------------------------------------
# Mock-ups of the two windows, for looking at the result.
if ((PREVIEW)); then
    convert "$OUT/Background.bmp" \
        "$OUT/TopLogo-alpha.bmp" -geometry +8+16 -compose Over -composite \
        "$OUT/NavButton1.bmp" -geometry +672+16 -compose Over -composite \
        "$OUT/NavButton2.bmp" -geometry +471+58 -compose Over -composite \
        "$OUT/NavButton3.bmp" -geometry +556+58 -compose Over -composite \
        "$OUT/NavButton4.bmp" -geometry +664+58 -compose Over -composite \
        -fill white -draw "rectangle 182,91 763,478" \
        -font DejaVu-Sans -pointsize 11 -fill white \
        -annotate +701+33 'Help' \
        -font DejaVu-Sans-Bold -annotate +502+75 'Home' -annotate +587+75 'Support' -annotate +695+75 'About' \
        -fill '#707070' -pointsize 13 -annotate +16+112 'Choose a link below' \
        -font DejaVu-Sans -pointsize 11 -fill black \
        -annotate +16+146 'Help with Lumora' -annotate +16+176 'Contact tech support' \
        -annotate +16+206 'Click to visit our website' -annotate +16+262 'About Lumora' \
        -font DejaVu-Sans-Bold -annotate +198+108 'Benefits of Lumora' \
        -font DejaVu-Sans -annotate +198+167 'Operating System :' \
        "$OUT/IconWorkstation-alpha.bmp" -geometry +202+188 -compose Over -composite \
        -annotate +222+200 'Microsoft Windows 10' \
        -annotate +198+219 'Processor :' \
        "$OUT/IconProcessor-alpha.bmp" -geometry +202+240 -compose Over -composite \
        -annotate +222+252 'Processor' \
        -annotate +198+271 'Internet Type :' \
        "$OUT/IconNetwork-alpha.bmp" -geometry +202+292 -compose Over -composite \
        -annotate +222+304 'Cable | DSL | Wi-Fi' \
        "$OUT/IconServer-alpha.bmp" -geometry +420+292 -compose Over -composite \
        /tmp/lumora-main.png
    convert -size 700x441 xc:white \
        "$OUT/Banner.bmp" -geometry +0+0 -compose Over -composite \
        "$OUT/LargeIcon.bmp" -geometry +372+130 -compose Over -composite \
        -font DejaVu-Sans-Bold -pointsize 16 -fill white -annotate +48+32 'About Lumora' \
        -pointsize 13 -fill black -annotate +72+94 'Lumora 2  (Version : 2.9.5.2016)' \
        -font DejaVu-Sans -pointsize 11 -annotate +72+112 'Copyright (c) Lumora. All rights reserved.' \
        -fill white -stroke '#A0A0A0' -draw "rectangle 72,136 627,208" -stroke none \
        -fill black -annotate +76+150 'This program uses the following components:' \
        -fill '#0066CC' -annotate +72+298 'End-User License Agreement' \
        -fill black -annotate +81+318 'Warning: this computer program is protected by copyright law.' \
        -fill '#F0F0F0' -draw "rectangle 0,386 699,440" -fill '#A0A0A0' -draw "line 0,386 699,386" \
        /tmp/lumora-about.png
    convert "$OUT/Lumora.ico[0]" "$OUT/Lumora.ico[1]" "$OUT/Lumora.ico[2]" \
        -background '#F0F0F0' -gravity center -extent 56x56 +append \
        \( "$OUT/Lumora.ico[3]" -background '#F0F0F0' -alpha remove \) -gravity center +append \
        \( "$OUT/IconWorkstation.bmp" "$OUT/IconServer.bmp" "$OUT/IconProcessor.bmp" "$OUT/IconNetwork.bmp" \
           -scale 400% -background '#F0F0F0' -gravity center -extent 80x80 +append \) -append \
        /tmp/lumora-icons.png
    echo "mock-ups: /tmp/lumora-main.png /tmp/lumora-about.png /tmp/lumora-icons.png"
fi
