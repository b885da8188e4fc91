#!/bin/sh
# A named pipe, a folder or a symbolic link to itself in the save file's place: start-up neither
# waits on the pipe nor moves or replaces any of them, says what it found, tells the player (A
# answers) and plays on without saving.
# A save folder that cannot be used at all (a file, /dev/null, a loop of symbolic links) ends a
# headless start-up at once with status 1 and the reason: nobody could close the message box.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf no-file-save && mkdir -p no-file-save/pipe no-file-save/folder/savegame.bin no-file-save/link
mkfifo no-file-save/pipe/savegame.bin
ln -s savegame.bin no-file-save/link/savegame.bin
printf '5 A\n6\n' > no-file-save/input.txt
for kind in pipe folder link; do
    # A start-up that waits on the pipe is ended after a minute (killed when it ignores the signal).
    exits_with 0 timeout -k 5 60 "$program" --headless --frames 300 --data no-file-save/$kind \
        --input no-file-save/input.txt --verbose 2> no-file-save/$kind.txt
    grep -q 'savegame.bin) is a \(named pipe\|directory\|loop of symbolic links\), not a file' no-file-save/$kind.txt ||
        fail "$kind: nothing says the save file is no file"
    grep -q 'save: the save file cannot be used; autosave is off' no-file-save/$kind.txt
    grep -q 'ended after 300 frames' no-file-save/$kind.txt || fail "$kind: the game did not go on past the message"
    if grep -q 'could not be written\|cannot be opened for writing' no-file-save/$kind.txt; then
        fail "$kind: a save was tried"
    fi
    [ "$(ls no-file-save/$kind)" = savegame.bin ] || fail "$kind: the save folder changed: $(ls no-file-save/$kind)"
done
test -p no-file-save/pipe/savegame.bin
test -d no-file-save/folder/savegame.bin
[ "$(readlink no-file-save/link/savegame.bin)" = savegame.bin ] || fail "the link was changed"

ln -s loop-b no-file-save/loop-a
ln -s loop-a no-file-save/loop-b
touch no-file-save/file
for folder in no-file-save/file /dev/null no-file-save/loop-a; do
    # A start-up that shows the box for ever is ended after a minute.
    exits_with 1 timeout -k 5 60 "$program" --headless --data $folder 2> no-file-save/unusable.txt
    grep -q "^zendrolyx: start-up stopped: the save data could not be prepared (save: the save folder \"$folder\" cannot be used)$" \
        no-file-save/unusable.txt ||
        fail "$folder: $(cat no-file-save/unusable.txt)"
done
# A folder whose name would steer the terminal (clear the screen), break the line or end its quotes
# is named escaped, in one line.
exits_with 1 "$program" --headless --data "no-file-save/file/$(printf 'a"\033[2J\r\nstart-up stopped: \377')" \
    2> no-file-save/hostile.txt
test "$(cat no-file-save/hostile.txt)" = 'zendrolyx: start-up stopped: the save data could not be prepared (save: the save folder "no-file-save/file/a\"\x1b[2J\x0d\x0astart-up stopped: \xff" cannot be used)' ||
    fail "the hostile folder: $(cat -v no-file-save/hostile.txt)"
test -f no-file-save/file
rm -rf no-file-save
