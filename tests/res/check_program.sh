#!/usr/bin/env bash
# Static check of a built Windows program, without running it (so it runs for both architectures on every
# machine): the PE format of its architecture, the GUI subsystem, imports from system DLLs only (the runtime is
# linked statically), and every resource type it must carry.
# Usage: check_program.sh OBJDUMP PROGRAM PE32|PE32+ "ALLOWED DLLS" "RESOURCE TYPES"
#   RESOURCE TYPES: numeric types in decimal (2 bitmap, 4 menu, 5 dialog, ...) or names (PIC, SKINWEAVE).
set -uo pipefail
objdump=$1 program=$2 magic=$3 allowed=$4 types=$5
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

[ -f "$program" ] || { echo "FAIL: $program is missing"; exit 1; }
dump=$("$objdump" -p "$program") || { echo "FAIL: $objdump cannot read $program"; exit 1; }

got_magic=$(sed -n 's/^Magic[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))$/\1/p' <<<"$dump")
[ "$got_magic" = "$magic" ] || fail "format $got_magic, expected $magic"
grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$dump" || fail "not a GUI program"

while read -r dll; do
  lower=${dll,,}
  case " ${allowed,,} " in
    *" $lower "*) ;;
    *) fail "imports $dll (not a system DLL of the allowed set: is the runtime linked statically?)" ;;
  esac
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")

# The top level of the resource directory: "010   Entry: ID: 0x000005, ..." or "... Entry: name: [...]: PIC, ...".
top=$(grep -E '^[0-9a-f]{3}   Entry: ' <<<"$dump")
for t in $types; do
  if [[ $t =~ ^[0-9]+$ ]]; then
    pattern=$(printf 'Entry: ID: 0x%06x,' "$t")
  else
    pattern="]: $t,"
  fi
  grep -qF -- "$pattern" <<<"$top" || fail "no resources of type $t"
done

[ "$fails" -eq 0 ] || { echo "$program: $fails problem(s)"; exit 1; }
echo "$program: $magic, GUI, system imports only, resource types $types"
