#!/bin/sh
# The split set without Objects.rez stops start-up with status 1, naming the archive. An archive
# that is there but refused (cut by a byte, listed again so that only the archive's own check sees
# it) stops start-up with one line naming it and why, also without --verbose: the single archive
# (though the split set is then tried in its place) and an archive of the split set alike.
# Run by ctest in the build's tests folder with $1 the program, $2 the single archive's rom, $3 the
# split rom, $4 mkrom.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
split_rom=$3
mkrom=$4
rm -rf part-rom
cp -r "$split_rom" part-rom
rm part-rom/Resource/Objects.rez
remake_list "$mkrom" part-rom
exits_with 1 "$program" --headless --frames 30 --verbose --rom part-rom --data cli-data 2> err-part.txt
grep -q 'Objects.rez' err-part.txt
grep -q 'game data could not be opened' err-part.txt

for form in single split; do
    if [ $form = single ]; then rom=$2; archive=Resource.rez; else rom=$3; archive=Resource/Objects.rez; fi
    rm -rf part-rom && cp -r "$rom" part-rom
    head -c $(($(wc -c < "$rom/$archive") - 1)) "$rom/$archive" > part-rom/$archive
    remake_list "$mkrom" part-rom
    exits_with 1 "$program" --headless --frames 30 --rom part-rom --data cli-data 2> err-refused.txt
    test "$(wc -l < err-refused.txt)" -eq 1 || fail "$form: not one line: $(cat err-refused.txt)"
    grep -q "^zendrolyx: start-up stopped: the game data could not be opened: archive rom:/$archive refused: ..*$" \
        err-refused.txt || fail "$form: the line does not name the archive and why: $(cat err-refused.txt)"
done
rm -rf part-rom
