#!/usr/bin/env bash
# Starts the real program in a fresh program folder on a virtual X display, types the initial
# password in small letters as a user would, checks that the launcher replaces the password
# screen, and leaves by the launcher's exit icon.
#   real_program.sh <Brivanto executable> <delivered unins000.dll> [screenshot.png]
set -euo pipefail
exe=$1
password_file=$2
screenshot=${3:-}
. "$(dirname "$0")/../../scripts/real_program_session.sh"
start_real_program "$exe" "$password_file" 1280x1024x24
cp "$folder/unins000.dll" "$work/password-before"

password=$(wait_for_window '^ Brivanto - Immissione password$')
xdotool windowfocus --sync "$password"
xdotool type --delay 20 "benvenutissimo"
xdotool key Return

launcher=$(wait_for_window '^ Brivanto$')
sleep 0.5
if xdotool search --onlyvisible --name 'Immissione password' >/dev/null 2>&1; then
    echo "the password screen is still visible next to the launcher" >&2
    exit 1
fi
[ -n "$screenshot" ] && command -v import >/dev/null && import -window root "$screenshot" || true
cmp -s "$work/password-before" "$folder/unins000.dll" || { echo "the password file changed" >&2; exit 1; }

# The exit icon sits in the bottom-right corner of the launcher's centred 760 x 660 panel.
eval "$(xdotool getwindowgeometry --shell "$launcher")"
xdotool mousemove --window "$launcher" $(( (WIDTH - 760) / 2 + 728 )) $(( (HEIGHT - 660) / 2 + 628 )) click 1
await_program_end "the exit icon"
echo "reached the launcher with the initial password and left by the exit icon"
