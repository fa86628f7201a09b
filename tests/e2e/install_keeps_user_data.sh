#!/usr/bin/env bash
# Installs the program folder twice, with the user's data written in between: the second install
# replaces the program and its guide and leaves every file of the user exactly as it was,
# the password file included.
#   install_keeps_user_data.sh <build folder>
set -euo pipefail
build=$1
. "$(dirname "$0")/user_data.sh"
folder=$(mktemp -d)/Brivanto
trap 'rm -rf "$(dirname "$folder")"' EXIT

cmake --install "$build" --prefix "$folder" >/dev/null
for name in Brivanto brivanto-camera.so Guida.pdf unins000.dll; do
    [ -f "$folder/$name" ] || { echo "the install did not deliver $name" >&2; exit 1; }
done
cmp -s "$build/program/unins000.dll" "$folder/unins000.dll" || { echo "wrong delivered password file" >&2; exit 1; }

# The user works: archives, photos, attachments, an export, a new password; the program is damaged.
write_user_data "$folder"
before=$(cd "$folder" && find . -path ./Brivanto -prune -o -path ./brivanto-camera.so -prune -o -path ./Guida.pdf -prune -o -type f -print0 \
    | sort -z | xargs -0 sha256sum)

cmake --install "$build" --prefix "$folder" >/dev/null
after=$(cd "$folder" && find . -path ./Brivanto -prune -o -path ./brivanto-camera.so -prune -o -path ./Guida.pdf -prune -o -type f -print0 \
    | sort -z | xargs -0 sha256sum)
[ "$before" = "$after" ] || { echo "the install changed the user's files:" >&2; diff <(echo "$before") <(echo "$after") >&2; exit 1; }
cmp -s "$build/program/Brivanto" "$folder/Brivanto" || { echo "the program was not replaced" >&2; exit 1; }
echo "the second install replaced the program and kept every file of the user"
