#!/usr/bin/env bash
# Fails, naming the files, when a tracked source file does not match the committed .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r -d '' f; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files -z '*.cpp' '*.h' '*.c' '*.cc')
if [ ${#bad[@]} -ne 0 ]; then
    echo "Not formatted with .clang-format (run: clang-format -i <file>):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "Formatting: every source file matches .clang-format"
