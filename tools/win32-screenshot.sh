#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: the window under Wine, on a virtual X display, started on
# the example league from settings in the registry of a throwaway Wine prefix.
#   tools/win32-screenshot.sh BUILD-WIN LINUX-BUILD [DPI]
# BUILD-WIN holds the cross build (its window's picture taker,
# tools/win32-screenshot/tovarin-window-screenshot.exe), LINUX-BUILD the example generator.
# With a DPI other than 96, the picture is of that scaling: 144 gives 150%, in
# docs/screenshot-windows-150.png.
set -euo pipefail
cd "$(dirname "$0")/.."
win="${1:?usage: tools/win32-screenshot.sh BUILD-WIN LINUX-BUILD}"
linux="${2:?usage: tools/win32-screenshot.sh BUILD-WIN LINUX-BUILD}"
dpi="${3:-96}"
picture=docs/screenshot-windows.png
[ "$dpi" = 96 ] || picture="docs/screenshot-windows-$((dpi * 100 / 96)).png"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tovarin-screenshot.XXXXXX")
trap 'WINEPREFIX="$scratch/prefix" wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1
# A virtual desktop, so that Wine draws the window's frame and caption itself.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1

# The league on a drive of its own, where a Windows user would keep it.
"$linux/tools/example/tovarin-example" "$scratch/drive/Grandstand" >/dev/null
ln -s "$scratch/drive" "$WINEPREFIX/dosdevices/g:"
base='G:\Grandstand\'

key='HKCU\Software\Didozuza\Tovarin'
set_value() { wine reg add "$key\\$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1; }
set_value File BaseDir REG_SZ "$base"
set_value File TgtDataDisk REG_SZ 2026.WDD
set_value File TgtOrg REG_SZ ORG00001
set_value File SrcDataDisk REG_SZ 2025.WDD
set_value File SrcOrg REG_SZ ORG00001
set_value File Rename REG_SZ "${base}renames.txt"
set_value Option UseFarm REG_DWORD 1
# The Wine server of the commands above knows no display; the window needs one of its own.
wineserver -w

xvfb-run -a -s "-screen 0 1600x1200x24" \
  wine "$win/tools/win32-screenshot/tovarin-window-screenshot.exe" \
    "Z:$(echo "$scratch/shot.bmp" | tr / '\\')"

# The window writes a BMP; the README takes a PNG.
python3 - "$scratch/shot.bmp" "$picture" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
offset = struct.unpack_from("<I", data, 10)[0]
width, height = struct.unpack_from("<ii", data, 18)
stride = (width * 3 + 3) & ~3
rows = []
for y in range(height):  # bottom-up, BGR
    start = offset + (height - 1 - y) * stride
    bgr = data[start:start + width * 3]
    rgb = bytearray(width * 3)
    rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
    rows.append(b"\0" + bytes(rgb))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
with open(sys.argv[2], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n")
    out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
    out.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 9)))
    out.write(chunk(b"IEND", b""))
PY
echo "$picture"
