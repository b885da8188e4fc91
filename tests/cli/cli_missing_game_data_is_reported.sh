#!/bin/sh
# A game data directory without the archives ends start-up with status 1 and says that start-up
# stopped. A character archive cut short, or with a damaged trailer, stops a launched quick game
# before it begins: the run says so and ends with status 1.
# Run by ctest in the build's tests folder with $1 the program, $2 the build's game data.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rom=$2
mkdir -p empty-rom
exits_with 1 "$program" --headless --frames 30 --rom empty-rom --data cli-data 2> err-missing.txt
grep -q 'start-up stopped' err-missing.txt

rm -rf bad-rom && cp -r "$rom" bad-rom && mkdir bad-rom/data && cp cli-data/savegame.bin bad-rom/data/
archive=bad-rom/Resource/SpecialCharacters.rez
size=$(wc -c < "$rom/Resource/SpecialCharacters.rez")
for damage in cut trailer; do
    if [ $damage = cut ]; then
        head -c 1000 "$rom/Resource/SpecialCharacters.rez" > $archive
    else
        # The trailer is the last 2048 bytes; its first words give the archive's ids.
        head -c $((size - 2048)) "$rom/Resource/SpecialCharacters.rez" > $archive
        printf '\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377' >> $archive
        tail -c $((2048 - 16)) "$rom/Resource/SpecialCharacters.rez" >> $archive
    fi
    exits_with 1 "$program" --headless --launch quick --frames 9000 --rom bad-rom --data bad-rom/data 2> bad-rom/$damage.txt
    grep -q '^zendrolyx: the game stopped: game loop: game set-up failed$' bad-rom/$damage.txt ||
        fail "$damage: the failure is not reported: $(cat bad-rom/$damage.txt)"
done
rm -rf bad-rom
