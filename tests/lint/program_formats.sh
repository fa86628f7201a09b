#!/usr/bin/env bash
# Dates and times reach the user only through platform/Formats: the locale's own date and time
# formats give a two-digit year (short) or a time zone (long) under the Italian locale.
#   program_formats.sh <source folder>
set -euo pipefail
cd "$1"
pattern='QLocale::(Short|Long|Narrow)Format|Qt::(TextDate|RFC2822Date)|dateFormat\(|timeFormat\(|dateTimeFormat\('
if found=$(grep -rnE "$pattern" --include='*.cpp' --include='*.h' \
        access editor help platform shell storage 2>/dev/null); then
    echo "Dates and times must go through platform::shortDate / platform::longTime:" >&2
    echo "$found" >&2
    exit 1
fi
echo "no date or time is written in a locale format"
