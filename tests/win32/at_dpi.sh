#!/bin/sh
# Runs one window test at another number of dots per inch: the prefix's LogPixels, which each
# Windows program reads when it starts, is set for the run and put back to 96 after it.
# Usage: at_dpi.sh DPI XVFB-RUN WINE TEST.EXE GTEST-FILTER
dpi=$1 xvfb=$2 wine=$3 exe=$4 filter=$5
key='HKCU\Control Panel\Desktop'
"$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 1
status=0
if [ -n "${DISPLAY:-}" ]; then
  TOVARIN_EXPECTED_DPI=$dpi "$wine" "$exe" --gtest_filter="$filter" || status=$?
else
  TOVARIN_EXPECTED_DPI=$dpi "$xvfb" -a "$wine" "$exe" --gtest_filter="$filter" || status=$?
fi
"$wine" reg add "$key" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
exit $status
