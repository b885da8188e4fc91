#!/bin/sh
# A game data directory without the archives ends start-up with status 1 and says that start-up
# stopped, and a listed file that is missing is named whole and quoted, whatever its name holds. The
# single archive with its first byte changed stops start-up at the renderer, and the
# line names the first fault of that step, what was wrong (the archive, the resource and why), after
# what could not be done. A character archive cut short, with a damaged trailer or with its first
# 4 KB zeroed, stops a launched quick game before it begins and the menus when Quick Play shows its
# bowler: the run says so in one line, naming the archive and why, and ends with status 1; so does a
# garment texture of the archive that cannot be unpacked, the line naming the archive and the
# texture. Damaged data of the menus (their description missing or cut, a database it names
# missing, empty,
# holding a value no cell or count can take or a table without its rows, naming the file, or,
# though it parses, lacking a table or column the game reads, the UI archive missing or damaged)
# ends the run with status 1 and the fault when the title is left, without --verbose, instead of
# menus run on placeholders; an attribute the database format does not have is no damage.
# Each damage is listed again with mkrom, so that what the loaders make of it is tested.
# Run by ctest in the build's tests folder with $1 the program, $2 the build's game data, $3 mkrom.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rom=$2
mkrom=$3
mkdir -p empty-rom
exits_with 1 "$program" --headless --frames 30 --rom empty-rom --data cli-data 2> err-missing.txt
grep -q 'start-up stopped' err-missing.txt

# The copy holds game data only: the save and the logs stay beside it, out of its list of files.
rm -rf bad-rom bad-data bad-logs && cp -r "$rom" bad-rom && mkdir bad-data bad-logs && cp cli-data/savegame.bin bad-data/
{ printf '\125'; tail -c +2 "$rom/Resource.rez"; } > bad-rom/Resource.rez
cmp -s "$rom/Resource.rez" bad-rom/Resource.rez && fail "the first byte of Resource.rez was already 0x55"
remake_list "$mkrom" bad-rom
exits_with 1 "$program" --headless --frames 30 --rom bad-rom --data bad-data 2> bad-logs/first-byte.txt
grep -q '^zendrolyx: start-up stopped: the renderer could not start (archive rom:/Resource.rez, resource [0-9]*: resources: a compressed resource is damaged)$' \
    bad-logs/first-byte.txt || fail "first byte: the cause is not named: $(cat bad-logs/first-byte.txt)"
cp "$rom/Resource.rez" bad-rom/Resource.rez
# A listed file that is missing is named whole in the one line, whatever its name holds: the text of
# a stop line, quotes that would end the name's own, 255 characters.
long=Video/$(printf '%0245d' 0).mkv
for name in 'start-up stopped: all is well (nothing is damaged)' 'Video/a" is fine; "b.mkv' "$long"; do
    : > "bad-rom/$name"
    remake_list "$mkrom" bad-rom
    rm "bad-rom/$name"
    exits_with 1 "$program" --headless --frames 30 --rom bad-rom --data bad-data 2> bad-logs/hostile.txt
    quoted=$(printf '%s' "$name" | sed 's/["\\]/\\&/g')
    test "$(cat bad-logs/hostile.txt)" = "zendrolyx: start-up stopped: the game data is damaged: \"rom:/$quoted\" is missing or cannot be opened; scripts/play builds it again" ||
        fail "$name: $(cat bad-logs/hostile.txt)"
done
remake_list "$mkrom" bad-rom
archive=bad-rom/Resource/SpecialCharacters.rez
size=$(wc -c < "$rom/Resource/SpecialCharacters.rez")
# The intro is skipped with A, the title left with a touch, and Quick Play, which shows its first
# bowler, opened with A.
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 A\n202\n' > bad-logs/quick-play.input
for damage in cut trailer zeroed; do
    if [ $damage = cut ]; then
        head -c 1000 "$rom/Resource/SpecialCharacters.rez" > $archive
    elif [ $damage = zeroed ]; then
        # The group directories stay whole; what the first 4 KB held (a group's directory among it)
        # reads as zeros.
        cp "$rom/Resource/SpecialCharacters.rez" $archive
        dd if=/dev/zero of=$archive bs=4096 count=1 conv=notrunc 2> /dev/null
    else
        # The trailer is the last 2048 bytes; its first words give the archive's ids.
        head -c $((size - 2048)) "$rom/Resource/SpecialCharacters.rez" > $archive
        printf '\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377' >> $archive
        tail -c $((2048 - 16)) "$rom/Resource/SpecialCharacters.rez" >> $archive
    fi
    remake_list "$mkrom" bad-rom
    exits_with 1 "$program" --headless --launch quick --frames 9000 --rom bad-rom --data bad-data 2> bad-logs/$damage.txt
    test "$(wc -l < bad-logs/$damage.txt)" -eq 1 || fail "$damage: not one line: $(cat bad-logs/$damage.txt)"
    grep -q '^zendrolyx: the game stopped: game loop: game set-up failed (archive rom:/Resource/SpecialCharacters.rez[ ,].\+)$' \
        bad-logs/$damage.txt ||
        fail "$damage: the failure is not reported: $(cat bad-logs/$damage.txt)"
    # The status is taken here: a message of exits_with would go into the log with the run's.
    status=0
    "$program" --headless --frames 400 --rom bad-rom --data bad-data --input bad-logs/quick-play.input \
        > /dev/null 2> bad-logs/$damage-menus.txt || status=$?
    test $status -eq 1 || fail "$damage: menus: ended with status $status: $(cat bad-logs/$damage-menus.txt)"
    test "$(wc -l < bad-logs/$damage-menus.txt)" -eq 1 || fail "$damage: menus: not one line: $(cat bad-logs/$damage-menus.txt)"
    grep -q '^zendrolyx: the game stopped: preview: the bowler cannot be loaded (archive rom:/Resource/SpecialCharacters.rez[ ,].\+); the game cannot go on$' \
        bad-logs/$damage-menus.txt || fail "$damage: menus: the failure is not reported: $(cat bad-logs/$damage-menus.txt)"
done

# word FILE OFFSET: the little-endian 32-bit number at that offset.
word() {
    od -An -t d4 -j "$2" -N 4 "$1" | tr -d ' '
}
# One flipped byte in the middle of member 21 of group 9800 (a garment texture the bowlers of a
# quick game of four swap to): the archive's trailer gives its first id and count, the directory
# before the trailer the group's record, and the group's own directory (its last bytes) the member.
source=$rom/Resource/SpecialCharacters.rez
first=$(word "$source" $((size - 2048 + 4)))
count=$(word "$source" $((size - 2048 + 8)))
directory=$((size - 2048 - (count * 24 + 2047) / 2048 * 2048))
group=$((directory + (9800 - first) * 24))
group_end=$(($(word "$source" $group) + $(word "$source" $((group + 4)))))
group_directory=$((group_end - $(od -An -t u2 -j $((group + 14)) -N 2 "$source" | tr -d ' ')))
member=$((group_directory + 16 + 21 * 24))
at=$(($(word "$source" $member) + $(word "$source" $((member + 4))) / 2))
head -c $at "$source" > $archive
printf '\125' >> $archive
tail -c $((size - at - 1)) "$source" >> $archive
cmp -s "$source" $archive && fail "the byte at $at was not changed"
remake_list "$mkrom" bad-rom
status=0
"$program" --headless --launch quick --players 4 --frames 3000 --rom bad-rom --data bad-data > /dev/null 2> bad-logs/flipped.txt ||
    status=$?
test $status -eq 1 || fail "flipped: ended with status $status: $(cat bad-logs/flipped.txt)"
test "$(wc -l < bad-logs/flipped.txt)" -eq 1 || fail "flipped: not one line: $(cat bad-logs/flipped.txt)"
grep -q '^zendrolyx: the game stopped: game loop: game set-up failed (archive rom:/Resource/SpecialCharacters.rez, member 21 of resource 9800: .\+)$' \
    bad-logs/flipped.txt || fail "the damaged texture is not reported: $(cat bad-logs/flipped.txt)"
cp "$source" $archive

# The menus' data, each file damaged in turn: the intro is skipped with A and the title left with a
# touch; the menus then load.
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n' > bad-logs/leave-title.input
cp -r "$rom/Resource" "$rom/db" bad-rom/
# An attribute the database format does not have, a note on a table of the game database and on the
# save defaults themselves, is no damage: the menus load and run.
sed 's/<BasicDbTable name="Leagues" def="leaguedef" rows="20">/<BasicDbTable name="Leagues" def="leaguedef" rows="20" comment="the season">/' \
    "$rom/db/game.db.xml" > bad-rom/db/game.db.xml
sed '0,/<BasicDb /s//<BasicDb comment="the defaults" /' "$rom/db/save.db.xml" > bad-rom/db/save.db.xml
grep -q 'comment="the season"' bad-rom/db/game.db.xml && grep -q 'comment="the defaults"' bad-rom/db/save.db.xml ||
    fail "no comment was added"
remake_list "$mkrom" bad-rom
"$program" --headless --frames 400 --rom bad-rom --data bad-data --input bad-logs/leave-title.input > /dev/null \
    2> bad-logs/comment.txt || fail "a comment stopped the game: $(cat bad-logs/comment.txt)"
cp "$rom/db/game.db.xml" "$rom/db/save.db.xml" bad-rom/db/
ui=bad-rom/Resource/BasicUiRez.rez
ui_size=$(wc -c < "$rom/Resource/BasicUiRez.rez")
for damage in description-missing description-cut game-db-empty ui-db-missing cell-nan cell-1e30 cell-huge \
    count-nan count-1e30 game-db-rows-renamed ui-db-column-tag ui-db-no-tables game-db-column-tag save-db-column-tag \
    ui-archive-missing ui-archive-cut ui-archive-flipped; do
    case $damage in
    description-missing) rm bad-rom/Resource/ui360.xml ;;
    description-cut) head -c 150000 "$rom/Resource/ui360.xml" > bad-rom/Resource/ui360.xml ;;
    game-db-empty) : > bad-rom/db/game.db.xml ;;
    ui-db-missing) rm bad-rom/db/ui.db.xml ;;
    cell-*)
        case $damage in cell-nan) value=nan ;; cell-1e30) value=1e30 ;; *) value=99999999999999999999 ;; esac
        sed "s/\"Alley Cats\", 60,/\"Alley Cats\", $value,/" "$rom/db/game.db.xml" > bad-rom/db/game.db.xml
        cmp -s "$rom/db/game.db.xml" bad-rom/db/game.db.xml && fail "$damage: no cell was changed" ;;
    count-*)
        sed "s/name=\"power\" type=\"int\" count=\"1\"/name=\"power\" type=\"int\" count=\"${damage#count-}\"/" \
            "$rom/db/game.db.xml" > bad-rom/db/game.db.xml
        cmp -s "$rom/db/game.db.xml" bad-rom/db/game.db.xml && fail "$damage: no count was changed" ;;
    # A table's rows attribute made unknown by one changed letter: its cells have no rows.
    game-db-rows-renamed)
        sed 's/<BasicDbTable name="Leagues" def="leaguedef" rows="20">/<BasicDbTable name="Leagues" def="leaguedef" rowt="20">/' \
            "$rom/db/game.db.xml" > bad-rom/db/game.db.xml
        cmp -s "$rom/db/game.db.xml" bad-rom/db/game.db.xml && fail "$damage: no attribute was changed" ;;
    # Databases that still parse: a column's tag made unknown by one changed letter, or no tables.
    ui-db-column-tag)
        sed '0,/<BasicDbTableColumnDef name="text"/s//<BasicDbTableColumnDeg name="text"/' "$rom/db/ui.db.xml" \
            > bad-rom/db/ui.db.xml
        cmp -s "$rom/db/ui.db.xml" bad-rom/db/ui.db.xml && fail "$damage: no tag was changed" ;;
    ui-db-no-tables) echo '<BasicDb name="ui" tableDefs="0" tables="0"></BasicDb>' > bad-rom/db/ui.db.xml ;;
    game-db-column-tag)
        sed 's/<BasicDbTableColumnDef name="shoesGroup"/<BasicDbTableColumnDeg name="shoesGroup"/' "$rom/db/game.db.xml" \
            > bad-rom/db/game.db.xml
        cmp -s "$rom/db/game.db.xml" bad-rom/db/game.db.xml && fail "$damage: no tag was changed" ;;
    # The default save database so damaged stops start-up before the save file is read over it.
    save-db-column-tag)
        sed 's/<BasicDbTableColumnDef name="autoSave"/<BasicDbTableColumnDeg name="autoSave"/' "$rom/db/save.db.xml" \
            > bad-rom/db/save.db.xml
        cmp -s "$rom/db/save.db.xml" bad-rom/db/save.db.xml && fail "$damage: no tag was changed"
        cp cli-data/savegame.bin bad-data/ ;;
    ui-archive-missing) rm $ui ;;
    ui-archive-cut) head -c $((ui_size / 2)) "$rom/Resource/BasicUiRez.rez" > $ui ;;
    # A byte of the first stored resource, which is compressed.
    ui-archive-flipped) { head -c 100 "$rom/Resource/BasicUiRez.rez"; printf '\125'
                          tail -c $((ui_size - 101)) "$rom/Resource/BasicUiRez.rez"; } > $ui ;;
    esac
    remake_list "$mkrom" bad-rom
    exits_with 1 "$program" --headless --frames 400 --rom bad-rom --data bad-data --input bad-logs/leave-title.input \
        > /dev/null 2> bad-logs/$damage.txt
    case $damage in
    save-db-*) want='^zendrolyx: start-up stopped: the UI framework or the save database could not be prepared (databases: .\+ (in "db/save.db.xml"))$'
        cmp -s cli-data/savegame.bin bad-data/savegame.bin || fail "$damage: the save file was changed"
        if ls bad-data | grep -q damaged; then fail "$damage: the save file was put aside"; fi ;;
    # The game database's columns after the lost one shift: the first cell too wide for its new column
    # is what the loader finds.
    game-db-column-tag) want='^zendrolyx: the game stopped: main menu: Resource\\ui360.xml or the game data it names is damaged (database "db\\\\game.db.xml": table "Bodys" row 0 column 17: .* is more than its column of 1 holds); the game cannot go on$' ;;
    # The line names the file.
    game-db-rows-renamed) want='^zendrolyx: the game stopped: main menu: Resource\\ui360.xml or the game data it names is damaged (database "db\\\\game.db.xml": table "Leagues" holds more cells than its 0 rows); the game cannot go on$' ;;
    # The check of what the game reads names the database's file too.
    *-db-column-tag|*-db-no-tables) want='^zendrolyx: the game stopped: main menu: Resource\\ui360.xml or the game data it names is damaged (databases: .\+ (in "db\\\\ui.db.xml")); the game cannot go on$' ;;
    ui-archive-*) want='^zendrolyx: start-up stopped: the UI framework or the save database could not be prepared (.*BasicUiRez.rez\|.*resource' ;;
    *) want='^zendrolyx: the game stopped: main menu: Resource\\ui360.xml or the game data it names is damaged (.\+); the game cannot go on$' ;;
    esac
    grep -q "$want" bad-logs/$damage.txt || fail "$damage: $(cat bad-logs/$damage.txt)"
    rm -rf bad-rom/Resource bad-rom/db && cp -r "$rom/Resource" "$rom/db" bad-rom/
done
rm -rf bad-rom bad-data bad-logs empty-rom err-missing.txt
