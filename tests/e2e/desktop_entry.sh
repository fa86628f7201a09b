#!/usr/bin/env bash
# The install step of run.sh into a temporary home and a program folder whose name needs quoting:
# the menu entry validates, names the installed program in its folder and an installed icon; a
# second install replaces the program, the entry and the icon and leaves every file of the user
# exactly as it was; then the entry's command line, run in the entry's folder as a desktop runs
# it, starts the installed program on a virtual X display and its password screen appears
# (skipped with 77 without a virtual display or xdotool).
#   desktop_entry.sh <source folder> <build folder>
set -euo pipefail
source=$1
build=$2
. "$(dirname "$0")/user_data.sh"
. "$source/scripts/virtual_display.sh"
command -v desktop-file-validate >/dev/null || { echo "SKIP: desktop-file-validate is not installed"; exit 77; }
work=$(mktemp -d)
program=""
server=""
stop() {
    [ -n "$program" ] && { kill "$program" 2>/dev/null; wait "$program" 2>/dev/null; } || true
    [ -n "$server" ] && { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; } || true
    rm -rf "$work"
}
trap stop EXIT
export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"
# Blanks, a dollar, quotes, a backquote and a percent sign: each must be escaped in the entry.
folder="$work/Giochi di \"Anna\" \$HOME 'a' \`b\` 100%"
entry="$HOME/.local/share/applications/brivanto.desktop"

"$source/scripts/install_program.sh" "$build" "$folder" >/dev/null
desktop-file-validate "$entry"

check_entry() {
    python3 - "$entry" "$folder" "$HOME/.local/share/icons/hicolor" "$build/program/Brivanto" "$work" <<'PY'
import os, struct, sys

entry, folder, theme, built, work = sys.argv[1:]
lines = open(entry, encoding="utf-8").read().splitlines()
assert lines[0] == "[Desktop Entry]", lines[0]
values = dict(line.split("=", 1) for line in lines[1:] if line and not line.startswith("#"))

def string(value):  # the entry format's escapes in string values
    out, i = "", 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            out += {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}[value[i + 1]]
            i += 2
        else:
            out += value[i]
            i += 1
    return out

def command_line(value):  # the Exec key's quoting, after the string escapes
    value, words, word, quoted, i = string(value), [], None, False, 0
    while i < len(value):
        c = value[i]
        if quoted:
            if c == "\\":
                assert value[i + 1] in '"`$\\', "a backslash escapes only \" ` $ \\ inside quotes"
                word += value[i + 1]
                i += 1
            elif c == '"':
                quoted = False
            else:
                word += c
        elif c == '"':
            quoted, word = True, word or ""
        elif c == " ":
            if word is not None:
                words.append(word)
            word = None
        else:
            assert c not in "\\$`'", f"{c} outside quotes"
            word = (word or "") + c
        i += 1
    assert not quoted, "an unterminated quote"
    if word is not None:
        words.append(word)
    return [w.replace("%%", "%") for w in words]

program = os.path.join(folder, "Brivanto")
assert values["Type"] == "Application"
assert values["Name"] == "Brivanto", values["Name"]
assert values["Comment"] and "giochi" in values["Comment"], values.get("Comment")
assert values["Categories"].rstrip(";").split(";"), values["Categories"]
assert command_line(values["Exec"]) == [program], command_line(values["Exec"])
assert string(values["Path"]) == folder, string(values["Path"])
assert string(values["TryExec"]) == program
assert os.access(program, os.X_OK)
assert open(program, "rb").read() == open(built, "rb").read(), "Exec is not the installed program"
# What a desktop runs: the command line's words, and the folder it runs them in.
with open(os.path.join(work, "exec"), "wb") as words:
    words.write(b"".join(w.encode() + b"\0" for w in command_line(values["Exec"])))
with open(os.path.join(work, "path"), "wb") as path:
    path.write(string(values["Path"]).encode())

icon = values["Icon"]
assert "/" not in icon, "the icon is named for the theme"
svg = os.path.join(theme, "scalable", "apps", icon + ".svg")
assert os.path.isfile(svg), f"no scalable icon {svg}"
assert "baseProfile=\"tiny\"" in open(svg).read()
for size in (16, 24, 32, 48, 64, 128, 256):
    png = os.path.join(theme, f"{size}x{size}", "apps", icon + ".png")
    header = open(png, "rb").read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", png
    assert struct.unpack(">II", header[16:24]) == (size, size), f"{png} is not {size} pixels"
PY
}
check_entry

# Nothing else of the home is touched.
unexpected=$(cd "$HOME" && find . -mindepth 1 -not -path ./.local -not -path ./.local/share \
    -not -path './.local/share/applications*' -not -path './.local/share/icons*')
[ -z "$unexpected" ] || { echo "the install wrote outside its places: $unexpected" >&2; exit 1; }

# The user works: archives, photos, attachments, an export, a new password; the entry and an
# icon are damaged.
write_user_data "$folder"
printf 'broken' >"$entry"
printf 'broken' >"$HOME/.local/share/icons/hicolor/48x48/apps/brivanto.png"
user_files() {
    (cd "$folder" && find . -mindepth 1 -not -path ./Brivanto -not -path ./brivanto-camera.so -not -path ./Guida.pdf \
        -print0 | sort -z | xargs -0 stat -c '%n %s %Y %a' && find . -type f -not -path ./Brivanto \
        -not -path ./brivanto-camera.so -not -path ./Guida.pdf -print0 | sort -z | xargs -0 sha256sum)
}
# An old modification time on everything shows a file the install rewrites, even with the same bytes.
(cd "$folder" && find . -mindepth 1 -not -path ./Brivanto -not -path ./brivanto-camera.so -not -path ./Guida.pdf \
    -exec touch -d '2001-02-03 04:05' {} +)
before=$(user_files)
"$source/scripts/install_program.sh" "$build" "$folder" >/dev/null
after=$(user_files)
[ "$before" = "$after" ] || { echo "the second install changed the user's files:" >&2; diff <(echo "$before") <(echo "$after") >&2; exit 1; }
desktop-file-validate "$entry"
check_entry
cmp -s "$build/icons/hicolor/48x48/apps/brivanto.png" "$HOME/.local/share/icons/hicolor/48x48/apps/brivanto.png" ||
    { echo "the second install did not replace the icon" >&2; exit 1; }
[ "$(find "$HOME/.local/share/applications" -name '*.desktop' | wc -l)" -eq 1 ] ||
    { echo "the second install left another entry behind" >&2; exit 1; }

# The desktop's part: the entry's command line in the entry's folder, on a virtual display.
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed, the entry was not started"; exit 77; }
done
start_virtual_display 1280x1024x24 "$work" || exit 1
mapfile -d '' -t command <"$work/exec"
path=$(cat "$work/path")
# A busy display now and then refuses a program's first connection: the program is started
# again when that is why it ended.
shown=""
for _attempt in 1 2 3; do
    (cd "$path" && ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb exec "${command[@]}") >"$work/program.log" 2>&1 &
    program=$!
    for _ in $(seq 100); do
        shown=$(xdotool search --onlyvisible --name '^ Brivanto - Immissione password$' 2>/dev/null | head -n1 || true)
        [ -n "$shown" ] && break
        kill -0 "$program" 2>/dev/null || break
        sleep 0.2
    done
    [ -n "$shown" ] && break
    grep -q 'could not connect to display' "$work/program.log" || break
    sleep 0.5
done
[ -n "$shown" ] || { cat "$work/program.log" >&2; echo "the entry's command did not show the password screen" >&2; exit 1; }
[ "$(readlink "/proc/$program/exe")" = "$folder/Brivanto" ] ||
    { echo "the entry started $(readlink "/proc/$program/exe"), not the installed program" >&2; exit 1; }
[ "$(readlink "/proc/$program/cwd")" = "$folder" ] ||
    { echo "the entry started the program in $(readlink "/proc/$program/cwd"), not in its folder" >&2; exit 1; }
echo "the entry validates and starts the installed program in its folder, which shows its password screen; a second install kept the user's files"
