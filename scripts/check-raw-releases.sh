#!/usr/bin/env bash
# Fails when a source file outside platform/ releases a handle itself: every DeleteObject, DeleteDC, ReleaseDC,
# EndPaint, CloseHandle, DestroyMenu, DestroyIcon and ImageList_Destroy belongs to the owning types and scoped DCs
# of platform/ (which also count GDI objects in the test builds). Calls after a // comment marker do not count.
# Usage: check-raw-releases.sh [source root]   (default: this repository)
set -uo pipefail
ROOT=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$ROOT" || exit 2
pattern='^(?:(?!//).)*\b(DeleteObject|DeleteDC|ReleaseDC|EndPaint|CloseHandle|DestroyMenu|DestroyIcon|ImageList_Destroy)\s*\('
hits=$(find . \( -path ./build -o -path ./third_party -o -path ./platform -o -path ./.git \) -prune -o \
         -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.inl' \) \
         -print0 | sort -z | xargs -0 -r grep -nP "$pattern" || true)
if [ -n "$hits" ]; then
  echo "check-raw-releases: handles released outside platform/ (use platform/Handle.h, the scoped DCs or guards):"
  echo "$hits"
  exit 1
fi
echo "check-raw-releases: no raw handle release outside platform/"
