#!/bin/sh
# Wherever the frame limit N falls, the run ends after exactly N frames, shows and shoots no frame
# past N, and reports no load that the close cut short as a failure. The limit is swept across the
# splash image (frames 21 to 138 of this start: the intro videos skipped with A, the splash's
# fades and hold, the menus' first load) and across Quick Play's yes/no question (302 to 351), from
# a save folder past its first start; and on the frame of a model change in test mode.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf frame-limit && mkdir frame-limit
# As the quick play test goes: the title touched at 150, Quick Play at 200, "-" at 250, Start at
# 300 (the question opens), "Yes" at 350.
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 80 67\n225\n250 touch 186 194\n275\n' > frame-limit/menus.input
printf '300 touch 281 72\n325\n350 touch 100 120\n375\n' >> frame-limit/menus.input
for limit in $(seq 21 13 138) $(seq 302 16 351); do
    rm -rf frame-limit/data frame-limit/shots && mkdir frame-limit/data frame-limit/shots
    # A close writes what the menus changed: each run starts from the same save.
    cp cli-data/savegame.bin frame-limit/data/
    exits_with 0 "$program" --headless --frames $limit --data frame-limit/data --input frame-limit/menus.input \
        --screenshot "$(seq -s, $limit $((limit + 14)))" --out frame-limit/shots --verbose 2> frame-limit/err.txt
    grep -qx "zendrolyx: ended after $limit frames" frame-limit/err.txt ||
        fail "limit $limit: not ended at the limit: $(cat frame-limit/err.txt)"
    shot=$(printf 'frame%05d-' $limit)
    test -f frame-limit/shots/${shot}lower.png || fail "limit $limit: its last frame was not shot"
    if ls frame-limit/shots | grep -v "^$shot"; then fail "limit $limit: frames past it were shot (above)"; fi
    # A read the close stopped is reported as stopped (with the archive and resources it was for),
    # nothing more.
    if grep '^zendrolyx: ' frame-limit/err.txt |
        grep -v '^zendrolyx: \(ended after [0-9]* frames\|\(archive [^,]*, [^:]*: \)\?FileRead: stopped while waiting for the read\)$'; then
        fail "limit $limit: the close was reported as a failure (above)"
    fi
done
# Test mode's model change (A on MODEL, the eighth line, at frame 50) presents a frame of its own:
# neither the limit reached before it nor the limit reached by it is reported as a failure.
printf '%s\n' '20 DOWN' 22 '24 DOWN' 26 '28 DOWN' 30 '32 DOWN' 34 '36 DOWN' 38 '40 DOWN' 42 '44 DOWN' 46 '50 A' 52 \
    > frame-limit/model.input
for limit in 50 51; do
    rm -rf frame-limit/data && mkdir frame-limit/data && cp cli-data/savegame.bin frame-limit/data/
    exits_with 0 "$program" --headless --launch quick --players 1 --seed 7 --test-mode --frames $limit \
        --data frame-limit/data --input frame-limit/model.input --verbose > /dev/null 2> frame-limit/err.txt
    if grep '^zendrolyx: ' frame-limit/err.txt | grep -vx "zendrolyx: ended after $limit frames"; then
        fail "test mode, limit $limit: the close was reported as a failure (above)"
    fi
done
rm -rf frame-limit
