#!/usr/bin/env bash
# Files written by kliptool (through EncodeImage) must decode to the expected
# pixels with independent tools, and kliptool's own readers must agree with
# them on files those tools write.
#   decoders_test.sh KLIPTOOL CASE
set -euo pipefail
kliptool=$1
case_name=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert=/usr/bin/convert-im6.q16
[ -x "$convert" ] || convert=/usr/bin/convert

python3 "$here/make_images.py" "$work"
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Pixel difference count between two images (0 = identical).
differences() {
  compare -quiet -metric AE "$1" "$2" null: 2>&1 || true
}

same_pixels_within() {
  local count
  count=$(compare -quiet -metric AE -fuzz "$3" "$1" "$2" null: 2>&1 || true)
  [ "$count" = 0 ] || fail "$1 and $2 differ in $count pixels (fuzz $3)"
}

same_pixels() {
  local count
  count=$(differences "$1" "$2")
  [ "$count" = 0 ] || fail "$1 and $2 differ in $count pixels"
}

case $case_name in
tiff_writer)
  "$kliptool" encode rgb.ppm rgb.tif --format tiff
  tiffinfo rgb.tif >info.txt 2>&1 || fail "tiffinfo: $(cat info.txt)"
  grep -q "Photometric Interpretation: RGB color" info.txt || fail "RGB photometric"
  grep -q "Software: QUILL-FABRIK" info.txt || fail "software tag"
  # The Software text is stored without a closing zero; libtiff warns but reads it.
  ! grep -v 'ASCII value for tag "Software" does not end in null byte' info.txt | grep -qi "warning\|error" ||
    fail "tiffinfo complains: $(cat info.txt)"
  tiffdump rgb.tif | grep -q "Directory 0: offset $((42 + 173 * 91 * 3))" || fail "directory offset"
  same_pixels rgb.ppm rgb.tif
  for depth in 1 4 8; do
    "$kliptool" encode "indexed$depth.bmp" "indexed$depth.tif" --format tiff
    tiffinfo "indexed$depth.tif" >info.txt 2>&1 || fail "tiffinfo $depth: $(cat info.txt)"
    grep -q "Image Width: 61 Image Length: 37" info.txt || fail "$depth-bit width"
    grep -q "Bits/Sample: $depth" info.txt || fail "$depth bits"
    grep -q "Photometric Interpretation: palette color" info.txt || fail "$depth-bit photometric"
    ! grep -v 'ASCII value for tag "Software" does not end in null byte' info.txt | grep -qi "warning\|error" ||
      fail "tiffinfo complains: $(cat info.txt)"
    # 8-bit colour maps are scaled by 256, so readers that divide by 257 may
    # show a component one level darker.
    same_pixels_within "indexed$depth.bmp" "indexed$depth.tif" 0.5%
  done
  ;;
tiff_reader)
  # Variants written by libtiff and ImageMagick, read back by our reader.
  "$kliptool" encode rgb.ppm rgb.tif --format tiff
  "$kliptool" encode indexed8.bmp indexed8.tif --format tiff
  "$kliptool" encode indexed4.bmp indexed4.tif --format tiff
  tiffcp -c lzw rgb.tif lzw.tif
  tiffcp -c lzw:2 rgb.tif lzw-predictor.tif
  tiffcp -c packbits rgb.tif packbits.tif
  tiffcp -B -c lzw:2 -r 7 rgb.tif big-endian-strips.tif
  tiffcp -c lzw indexed8.tif lzw-palette.tif
  tiffcp -c packbits -B indexed4.tif packbits-palette4.tif
  "$convert" rgb.ppm -colorspace gray -depth 8 -compress lzw gray8.tif
  "$convert" rgb.ppm -colorspace gray -depth 16 gray16.tif
  "$convert" rgb.ppm -alpha set -channel A -evaluate set 50% +channel -depth 8 rgba.tif
  for file in lzw lzw-predictor packbits big-endian-strips lzw-palette packbits-palette4 gray8; do
    "$kliptool" decode "$file.tif" "$file.ppm"
    "$convert" -quiet "$file.tif" -alpha off -depth 8 "$file-im.ppm"
    same_pixels_within "$file.ppm" "$file-im.ppm" 0.5%
  done
  # The exact pixels where the source is known.
  "$kliptool" decode lzw-predictor.tif exact.ppm
  same_pixels exact.ppm rgb.ppm
  "$kliptool" decode big-endian-strips.tif exact.ppm
  same_pixels exact.ppm rgb.ppm
  "$kliptool" decode packbits-palette4.tif exact.ppm
  same_pixels exact.ppm indexed4.bmp
  "$kliptool" decode gray16.tif gray16.ppm
  "$convert" -quiet gray16.tif -depth 8 gray16-im.ppm
  count=$(compare -quiet -metric AE -fuzz 1% gray16.ppm gray16-im.ppm null: 2>&1 || true)
  [ "$count" = 0 ] || fail "16-bit grey differs in $count pixels"
  "$kliptool" decode rgba.tif rgba.ppm
  same_pixels rgba.ppm rgb.ppm
  ;;
png)
  "$kliptool" encode rgb.ppm rgb.png --format png
  pngcheck -v rgb.png >check.txt 2>&1 || fail "pngcheck: $(cat check.txt)"
  ! grep -q "gAMA\|tEXt\|tIME\|pHYs" check.txt || fail "extra chunks: $(cat check.txt)"
  grep -q "compression method 0\|zlib: deflated, 32K window, maximum compression" check.txt || fail "zlib header: $(cat check.txt)"
  same_pixels rgb.ppm rgb.png
  "$kliptool" decode rgb.png rgb-back.ppm
  same_pixels rgb.ppm rgb-back.ppm
  for depth in 1 4 8; do
    "$kliptool" encode "indexed$depth.bmp" "indexed$depth.png" --format png
    pngcheck -v "indexed$depth.png" >check.txt 2>&1 || fail "pngcheck $depth: $(cat check.txt)"
    grep -q "61 x 37 image, $depth-bit palette" check.txt || fail "$depth-bit header: $(cat check.txt)"
    grep -q "PLTE.*$((1 << depth)) palette entries" check.txt || fail "$depth-bit palette: $(cat check.txt)"
    same_pixels "indexed$depth.bmp" "indexed$depth.png"
  done
  ;;
jpeg)
  for quality in 1 90 100; do
    "$kliptool" encode rgb.ppm "q$quality.jpg" --format jpeg --quality "$quality"
    djpeg -ppm "q$quality.jpg" >"q$quality.ppm" || fail "djpeg quality $quality"
    identify -format '%w %h %[jpeg:sampling-factor]\n' "q$quality.jpg" | grep -q "^173 91 2x2,1x1,1x1$" ||
      fail "quality $quality header: $(identify -verbose "q$quality.jpg" | head -30)"
  done
  # The library's defaults: byte for byte what cjpeg writes at the same quality.
  cjpeg -quality 90 rgb.ppm >cjpeg.jpg
  cmp -s q90.jpg cjpeg.jpg || fail "quality 90 differs from cjpeg"
  # Within the quality's error on the smooth part of the image (the rest is noise).
  "$convert" rgb.ppm -crop 173x30+0+0 smooth.ppm
  "$convert" q90.ppm -crop 173x30+0+0 smooth90.ppm
  psnr=$(compare -quiet -metric PSNR smooth.ppm smooth90.ppm null: 2>&1 || true)
  python3 -c "import sys; sys.exit(0 if float('$psnr') > 30 else 1)" || fail "PSNR $psnr"
  "$kliptool" decode q90.jpg q90-back.ppm
  cmp -s q90-back.ppm q90.ppm || fail "kliptool decode of JPEG differs from djpeg"
  ;;
bmp)
  "$kliptool" encode rgb.ppm rgb.bmp --format bmp
  identify -format '%w %h %m\n' rgb.bmp | grep -q "^173 91 BMP" || fail "identify: $(identify rgb.bmp)"
  same_pixels rgb.ppm rgb.bmp
  for depth in 1 4 8; do
    "$kliptool" encode "indexed$depth.bmp" "out$depth.bmp" --format bmp
    cmp -s "indexed$depth.bmp" "out$depth.bmp" || fail "$depth-bit BMP not written as read"
  done
  "$convert" rgb.ppm -define bmp:subtype=RGB565 rgb565.bmp
  "$kliptool" decode rgb565.bmp rgb565.ppm
  "$convert" rgb565.bmp -depth 8 rgb565-im.ppm
  count=$(compare -quiet -metric AE -fuzz 2% rgb565.ppm rgb565-im.ppm null: 2>&1 || true)
  [ "$count" = 0 ] || fail "RGB565 BMP differs in $count pixels"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "ok: $case_name"
