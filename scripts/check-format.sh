#!/usr/bin/env bash
# Checks that every tracked .cpp and .h file is formatted as .clang-format
# says (clang-format 14, Debian 12's); names the files that are not and fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

version=$(clang-format --version | sed -nE 's/.*version ([0-9]+)\..*/\1/p')
if [[ "$version" != 14 ]]; then
    echo "check-format: clang-format 14 is needed, found: $(clang-format --version)" >&2
    exit 1
fi
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "check-format: $root is not a git checkout; the tracked files are unknown" >&2
    exit 1
fi

report=$(git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run 2>&1 || true)
unformatted=$(sed -nE 's/^(.+):[0-9]+:[0-9]+: (warning|error): code should be clang-formatted.*/\1/p' \
    <<<"$report" | sort -u)
if [[ -n "$unformatted" ]]; then
    echo "Not formatted (run clang-format -i on them):" >&2
    sed 's/^/  /' <<<"$unformatted" >&2
    exit 1
fi
if grep -q . <<<"$report"; then
    echo "check-format: clang-format failed:" >&2
    echo "$report" >&2
    exit 1
fi
echo "All tracked .cpp and .h files are formatted."
