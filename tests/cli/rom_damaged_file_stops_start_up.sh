#!/bin/sh
# Start-up checks every file of the game data against the list of their sizes and checksums before
# reading any: one byte changed in an archive, a database (the save defaults), the menus'
# description or a video, a file cut by one byte, grown by a block of zeros or missing, and the
# list itself missing, cut by one byte, naming one file twice or naming one with a space after its
# name, each stop it with status 1 and one line naming the file in quotes (which show the space), in the single archive's set and in the split set alike, and the save
# file is left byte for byte as it was. Without --headless but with no window to show the game's
# box in, the run says it has no window and ends as soon, with the same status and line, or with an
# input script as soon as the script has no order left to come. mkrom --check, which scripts/play runs before playing,
# takes the whole set and refuses each damage with status 1, naming the same file.
#   rom_damaged_file_stops_start_up.sh ZENDROLYX ROM SPLIT_ROM MKROM
set -e
. "$(dirname "$0")/checks.sh"
program=$1
mkrom=$4
rm -rf damaged-data-set && mkdir -p damaged-data-set
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n' > damaged-data-set/leave-title.input

# flip FILE: changes the byte in the middle of the file.
flip() {
    size=$(wc -c < "$1.whole")
    { head -c $((size / 2)) "$1.whole"; printf '\125'; tail -c $((size - size / 2 - 1)) "$1.whole"; } > "$1"
    cmp -s "$1" "$1.whole" && fail "the byte in the middle of $1 was already 0x55"
    return 0
}

for form in single split; do
    if [ $form = single ]; then rom=$2; archive=Resource.rez; else rom=$3; archive=Resource/Objects.rez; fi
    set_dir=damaged-data-set/$form
    cp -r "$rom" $set_dir
    "$mkrom" --check $set_dir || fail "$form: mkrom --check refuses the whole set"
    for damage in archive save-db menus video cut grown missing list-missing list-cut list-twice list-space; do
        case $damage in
        archive) file=$archive ;;
        save-db) file=db/save.db.xml ;;
        menus) file=Resource/ui360.xml ;;
        video) file=Video/Intro_Studio.mkv ;;
        cut | grown) file=Resource/BasicUiRez.rez ;;
        missing) file=Video/Turkey.mkv ;;
        list-missing | list-cut | list-twice | list-space) file=checksums.txt ;;
        esac
        # The file the line names: the one damaged, or the path listed with a space after it.
        named=$file
        if [ $damage = list-space ]; then named='Resource/ui360.xml '; fi
        mv $set_dir/$file $set_dir/$file.whole
        case $damage in
        cut | list-cut) head -c $(($(wc -c < $set_dir/$file.whole) - 1)) $set_dir/$file.whole > $set_dir/$file ;;
        grown) { cat $set_dir/$file.whole; head -c 2048 /dev/zero; } > $set_dir/$file ;;
        missing | list-missing) ;;
        list-twice)
            # The menus' description listed again, the end line counting it: a list that reads
            # whole but for the repeat.
            listed=$(grep -c '^[0-9a-f]\{16\} ' $set_dir/$file.whole)
            { grep -v '^end ' $set_dir/$file.whole; grep ' Resource/ui360.xml$' $set_dir/$file.whole
              echo "end $((listed + 1))"; } > $set_dir/$file ;;
        # The menus' description listed with a space after its name: the file itself is whole.
        list-space) sed 's| Resource/ui360.xml$| Resource/ui360.xml |' $set_dir/$file.whole > $set_dir/$file
            cmp -s $set_dir/$file $set_dir/$file.whole && fail "$form $damage: the list was not changed" ;;
        *) flip $set_dir/$file ;;
        esac
        data=damaged-data-set/data-$form-$damage
        mkdir -p $data && cp cli-data/savegame.bin $data/
        status=0
        "$program" --headless --frames 400 --rom $set_dir --data $data --input damaged-data-set/leave-title.input \
            > /dev/null 2> $data.err || status=$?
        test $status -eq 1 || fail "$form $damage: ended with status $status: $(cat $data.err)"
        test "$(wc -l < $data.err)" -eq 1 || fail "$form $damage: not one line: $(cat $data.err)"
        grep -q "^zendrolyx: start-up stopped: the game data is damaged: \"rom:/$named\"" $data.err ||
            fail "$form $damage: the line does not name \"rom:/$named\": $(cat $data.err)"
        if [ $damage = cut ]; then
            # Without --headless, where no window can be opened (the offscreen driver named; no
            # display at all, nor a session's runtime folder, as under CI), nobody could see the
            # game's box: the run says in one line that it has no window, and ends at once all the
            # same, with its one line. With an input script it ends as soon as the script has no
            # order left to come: an empty one, or one whose last order opens the HOME menu (which
            # then resumes, as nobody could answer it). One that closes the game through the menu
            # closes the box, which was shown until then, at the window's pace of 33 ms a frame.
            printf '10 HOME\n' > damaged-data-set/home-last.input
            printf '20 HOME\n30 touch 225 170\n31\n' > damaged-data-set/closes.input
            if [ $form = single ]; then scripts="none /dev/null home-last closes"; else scripts=none; fi
            for script in $scripts; do
                case $script in
                none) input= ;;
                /dev/null) input=$script ;;
                *) input=damaged-data-set/$script.input ;;
                esac
                what="$form $damage, no window, script $script"
                rm -rf $data.shots && mkdir $data.shots
                status=0
                start=$(date +%s%N)
                if [ $form = single ]; then
                    SDL_VIDEODRIVER=offscreen timeout 30 "$program" --rom $set_dir --data $data ${input:+--input $input} \
                        --screenshot 15 --out $data.shots --layout-out > /dev/null 2> $data.err || status=$?
                else
                    env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER timeout 30 "$program" \
                        --rom $set_dir --data $data > /dev/null 2> $data.err || status=$?
                fi
                took=$((($(date +%s%N) - start) / 1000000))
                test $status -eq 1 || fail "$what: ended with status $status: $(cat $data.err)"
                test "$(wc -l < $data.err)" -eq 2 || fail "$what: not two lines: $(cat $data.err)"
                head -n 1 $data.err | grep -q '^zendrolyx: no window (.*); drawing offscreen$' ||
                    fail "$what: no word of the missing window first: $(cat $data.err)"
                tail -n 1 $data.err | grep -q "^zendrolyx: start-up stopped: the game data is damaged: \"rom:/$file\"" ||
                    fail "$what: the last line does not name rom:/$file: $(cat $data.err)"
                if [ $script = closes ]; then
                    test -e $data.shots/frame00015-lines.txt || fail "$what: the box was not up at frame 15"
                    grep -q 'The game data is damaged\.' $data.shots/frame00015-lines.txt ||
                        fail "$what: frame 15 does not show the box: $(cat $data.shots/frame00015-lines.txt)"
                    test $took -ge 950 || fail "$what: 30 frames took $took ms, less than 33 ms a frame"
                elif [ -e $data.shots/frame00015-lines.txt ]; then
                    fail "$what: the box stayed up past the script's last order"
                fi
                rm -rf $data.shots
            done
        fi
        if [ $damage = list-twice ]; then
            grep -q "names \"Resource/ui360.xml\" again" $data.err || fail "$form $damage: the repeat is not named: $(cat $data.err)"
        fi
        exits_with 1 "$mkrom" --check $set_dir 2> $data.check
        grep -q "^mkrom: \"$set_dir/$named\"" $data.check || fail "$form $damage: mkrom --check: $(cat $data.check)"
        cmp -s cli-data/savegame.bin $data/savegame.bin || fail "$form $damage: the save file was changed"
        test "$(ls $data)" = savegame.bin || fail "$form $damage: the save folder changed: $(ls $data)"
        mv $set_dir/$file.whole $set_dir/$file
    done
done
rm -rf damaged-data-set
