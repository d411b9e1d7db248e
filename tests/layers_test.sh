#!/usr/bin/env bash
# The folders are the layers, and includes only go downwards:
#   core/base < core/text < core/disk < core/store < core/exchange < core/chart, core/body
#   < core/session
#   < core/<feature> < core/phone < gui/widgets < gui/common < gui/phone < gui/<feature>
#   < gui/shell < main.cpp
# (the phone page answers with the features' figures; the settings screen shows its group)
# A file may include files of its own folder and of lower layers; folders of one layer
# (two features, say) never include each other. Nothing under src/core or tests/core
# includes Qt or src/gui. Prints every include that breaks this and fails.
#   tests/layers_test.sh [SOURCE_ROOT]
set -u
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root" || exit 2

rank() {
    case "$1" in
        src/core/base/*) echo 0 ;;
        src/core/text/*) echo 1 ;;
        src/core/disk/*) echo 2 ;;
        src/core/store/*) echo 3 ;;
        src/core/exchange/*) echo 4 ;;
        src/core/chart/* | src/core/body/*) echo 5 ;;
        src/core/session/*) echo 6 ;;
        src/core/phone/*) echo 8 ;;
        src/core/*/*) echo 7 ;;
        src/gui/widgets/*) echo 9 ;;
        src/gui/common/*) echo 10 ;;
        src/gui/phone/*) echo 11 ;;
        src/gui/shell/*) echo 13 ;;
        src/gui/*/*) echo 12 ;;
        src/main.cpp) echo 14 ;;
        *) echo "" ;;
    esac
}

# Includes waiting for their move, each to be taken out of this list when it is gone.
allowed=()
isAllowed() {
    local item
    for item in "${allowed[@]}"; do [ "$item" = "$1" ] && return 0; done
    return 1
}

broken=0
say() {
    echo "$1"
    broken=$((broken + 1))
}

while IFS= read -r file; do
    from=$(rank "$file")
    [ -n "$from" ] || { say "$file: a source file outside the layer folders"; continue; }
    dir=$(dirname "$file")
    while IFS= read -r line; do
        number=${line%%:*}
        included=${line#*:}
        target="src/$included"
        [ -f "$target" ] || continue  # a generated header (pairly_version.h)
        [ "$(dirname "$target")" = "$dir" ] && continue
        to=$(rank "$target")
        isAllowed "$file:$included" && continue
        if [ -z "$to" ] || [ "$to" -ge "$from" ]; then
            say "$file:$number: includes $included, which is not below it"
        fi
    done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$file" |
             sed -E 's/^([0-9]+):.*"([^"]+)"/\1:\2/')
done < <(find src -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

# The core and its tests know nothing of Qt or of the screens.
while IFS= read -r hit; do
    say "$hit: Qt or the gui in the core"
done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*(<Q[A-Za-z]*>|<Qt[A-Za-z]*/|"gui/)' \
             -r src/core tests/core 2>/dev/null)

if [ "$broken" -gt 0 ]; then
    echo "$broken include(s) against the layers"
    exit 1
fi
echo "every include goes downwards"
