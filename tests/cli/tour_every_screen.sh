#!/bin/sh
# A tour of the screens a player meets, by input scripts from a saved game: the title, the main
# menu and each of its pages (Quick Play and its question, Mini-Games, Practice, Options and the
# save boxes on leaving it, How to Play, Credits), the career (hub, bowler, the leagues,
# tournaments and rivals lists, a league's fee question and standings, the pro shop, its
# categories and a question, the trophy case), the bowlers page and its keyboard, the controller
# screen, the HOME and power menus, a league's first week, a quick game (score sheet, the shot's
# steps, the pause menu and its question), the two pages of an eight-bowler sheet with the buttons
# and its hook step, the two pages of a five-bowler sheet with the stylus, a whole game
# from the menus (replay, game over, another game?, the saving boxes), practice and its pause
# menu, pin selection, the test mode's read-out, the mini-games' overlays (the shot's steps with
# the buttons among them) and a spares challenge past 1,000 points. Each screen is shot with the
# lines of text it shows (--layout-out); each must show the text that names it, no line may reach
# off its screen, overlap another, run out of the box it lies on or lie under a mark (a marker, a
# pointer, a stop one moves to), every drawn button must answer a touch at its middle and near
# each corner, and no shot may be entirely black. Every shot goes on one contact sheet,
# tour/contact-sheet.png, written even when a check fails. A few shots are also checked for the
# colours of what they show (LANE_SHOT_CHECK).
#   tour_every_screen.sh ZENDROLYX LAYOUT_CHECK CONTACT_SHEET HUMAN_GAME_INPUT LANE_SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
sheet=$3
steps=$4
colours=$5
rm -rf tour && mkdir -p tour
: > tour/sheet.txt
: > tour/faults.txt

# Known faults, each passed to the checker (--except) as a text its message contains, for the
# shots that show it:
# - the save loop draws only the lower screen: while the save box shows, the upper one is black;
saving="upper-left.png is entirely black"
# - the credits roll in from below the upper screen's edge, so a row is part-way off it;
rolling="lies outside the upper screen"

# touch FRAME X Y: the stylus held on the lower screen for 25 frames. press FRAME BUTTON: a
# button pressed for 2 frames.
touch() { printf '%d touch %d %d\n%d\n' $1 $2 $3 $(($1 + 25)); }
press() { printf '%d %s\n%d\n' $1 $2 $(($1 + 2)); }
# From the saved game past the intros to the title (shot at 140) and the main menu (up by 190).
to_menu() { printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n'; }

# shot FRAME LABEL TEXT [KNOWN]: the screen of a run shot at FRAME, named LABEL on the sheet,
# showing TEXT, with the known fault KNOWN.
shot() { printf '%s|%s|%s|%s\n' "$1" "$2" "$3" "$4" >> "$dir/shots.txt"; }
# begin NAME: a run's folder, with the saved game; its input is written to $dir/input.txt.
begin() {
    dir=tour/$1
    mkdir -p $dir/data
    cp cli-data/savegame.bin $dir/data/
    : > $dir/shots.txt
}
# finish FRAMES [OPTION...]: plays the run and checks its shots (the layout check also fails a panel
# that lines stand on where the lane shows through it) and that every table the code read on the
# way is one the databases are checked for when they load.
finish() {
    frames=$1
    shift
    list=$(cut -d'|' -f1 $dir/shots.txt | tr '\n' , | sed 's/,$//')
    "$game" --headless --frames $frames --data $dir/data --input $dir/input.txt --screenshot $list --out $dir \
        --layout-out --verbose "$@" > $dir/out.txt 2> $dir/err.txt || { cat $dir/err.txt >&2; fail "$dir: the run failed"; }
    grep 'not on the list checked at load' $dir/err.txt >> tour/faults.txt || true
    while IFS='|' read -r f label text except; do
        name=$(printf '%s/frame%05d' $dir $f)
        grep -qF -- "$text" $name-lines.txt || echo "$name: $label: no line shows '$text'" >> tour/faults.txt
        set -- $name-lines.txt
        [ -z "$except" ] || set -- "$@" --except "$except"
        "$check" "$@" $name-upper-left.png $name-lower.png > $name-check.txt ||
            { cat $name-check.txt && echo "$name: $label: the layout check failed (above)"; } >> tour/faults.txt
        echo "$label|$name-upper-left.png|$name-lower.png" >> tour/sheet.txt
    done < $dir/shots.txt
}

# The main menu and its pages, each left with B.
begin menus
{
    to_menu
    touch 200 80 55                   # Quick Play
    touch 300 281 72                  # Start: its question
    touch 360 220 120                 # "No"
    press 420 B
    touch 480 236 55; press 560 B     # Mini-Games
    touch 600 80 95; press 680 B      # Practice
    touch 720 236 95; press 800 B     # Options, saved on leaving
    touch 1080 80 135                 # How to Play
    press 1140 RIGHT; press 1180 RIGHT
    press 1240 B
    touch 1300 236 135; press 1480 B  # Credits
} > $dir/input.txt
shot 140 "title" "Tap the Touch Screen"
shot 195 "main menu" "Main Menu"
shot 270 "quick play" "Bowlers"
shot 350 "quick play: start?" "Start this game?"
shot 400 "quick play: no" "Bowlers"
shot 550 "mini-games" "Spares Challenge"
shot 670 "practice" "Pin Selection"
shot 790 "options" "Control"
shot 820 "options: saving" "Saving." "$saving"
shot 920 "options: saved" "Save Successful." "$saving"
shot 1130 "how to play" "Bowling with the Stylus"  # the book of the save's control
shot 1170 "how to play: page 2" "2/5"
shot 1230 "how to play: page 3" "3/5"
shot 1380 "credits" "Credits" "$rolling"
finish 1520
# How to Play's first page tells a player at the keyboard that the mouse throws in the default
# control.
grep -q ' mouse$' tour/menus/frame01130-lines.txt ||
    echo "tour/menus/frame01130: how to play: the first page does not mention the mouse" >> tour/faults.txt

# The career: the hub's pages, each left with B; a league joined (its fee's question, "Yes"
# held) and its standings; the pro shop, a category and an item held to buy it: its question.
begin career
{
    to_menu
    touch 200 160 175                 # Career: the hub is up at 250
    touch 260 82 54; press 310 B      # the career bowler
    touch 350 238 54; press 400 B     # the leagues
    touch 440 82 94; press 490 B      # the tournaments
    touch 530 238 94; press 580 B     # the rivals
    touch 620 82 174; press 670 B     # the trophy case
    touch 710 238 54; touch 750 130 50  # the first league: its fee
    printf '790 touch 100 120\n832\n'  # "Yes" held: the entry saved, then the standings
    press 1060 B
    touch 1100 82 134; press 1150 B   # the league table
    touch 1190 238 134                # the pro shop
    touch 1250 52 45                  # its first category
    printf '1300 touch 180 108\n1350\n'  # the third shirt, not owned, held: its question
    printf '1390 touch 220 120\n1420\n'  # "No"
} > $dir/input.txt
shot 250 "career hub" "Tournament Table"
shot 300 "career: bowler" "Career Bowler"
shot 390 "career: leagues" "Leagues"
shot 480 "career: tournaments" "Tournaments"
shot 570 "career: rivals" "Rivals"
shot 660 "career: trophies" "Trophy Case"
shot 785 "career: league fee?" "entry"
shot 830 "career: saving the entry" "Saving" "$saving"
shot 1050 "career: standings" "Bowl"
shot 1140 "career: league table" "Week 1"
shot 1240 "pro shop" "Pro Shop"
shot 1290 "pro shop: category" "Red Short Sleeve"
shot 1380 "pro shop: question" "Hold"
shot 1450 "pro shop: no" "Red Short Sleeve"
finish 1480

# The bowlers page (from the hub) and its keyboard, left with B; the controller screen (from
# Quick Play).
begin bowlers
{
    to_menu
    touch 200 160 175                 # Career: the hub is up at 250
    touch 260 238 222                 # Bowlers
    touch 330 238 222                 # Name: the keyboard
    press 400 B; press 460 B; press 500 B  # the keyboard, the page, the hub
    touch 540 80 55                   # Quick Play
    touch 600 238 222; press 680 B    # Controllers
} > $dir/input.txt
shot 320 "bowlers" "Perfect Games"
shot 380 "bowlers: keyboard" "Type a name, then ENTER"
shot 650 "controllers" "Controller 1"
shot 720 "controllers: back" "Bowlers"
finish 740

# A quick game of a person and the computer: the score sheet, the set-up menu (its ball row
# touched on the words CHANGE BALL: the next ball), the shot's steps (position, then the ball
# flicked), the pause menu and its question.
begin game
{
    printf '60 B\n62\n66 touch 150 70\n68\n80 A\n82\n100 touch 251 198\n102\n120 touch 158 205\n122 touch 158 155\n124 touch 158 85\n130\n'
    press 900 START
    touch 940 85 164
} > $dir/input.txt
shot 50 "game: score sheet" "Bo Computer"
shot 75 "game: set-up, the next ball" "Urethane 15 lb"
shot 95 "game: position" "POSITION"
shot 115 "game: release" "Back"
shot 140 "game: ball rolling" "Ada Player"
shot 930 "game: paused" "Quit Game"
shot 980 "game: pause question" "Are you sure you want to quit?"
finish 1000 --launch quick --players 2 --humans 1 --seed 7
# Only the mouse answers the flick step and the pause menu: each says so to a player at the keys.
for f in 00115 00930; do
    grep -q 'mouse$' tour/game/frame$f-lines.txt ||
        echo "tour/game/frame$f: no line says that the mouse answers this screen" >> tour/faults.txt
done

# player_buttons_by_rows LINES: every player button of a score sheet (a touch target at x 285)
# stands beside a small row, whose player number ("P2") it shares a height with.
player_buttons_by_rows() {
    awk -v name="$1" '
        $1 == "touch" && $3 == 285 { button[++n] = $4 " " $4 + $6 }
        $1 == "lower" && $6 ~ /^P[0-9]$/ { row[++r] = $3 " " $3 + $5 }
        END {
            for (i = 1; i <= n; ++i) {
                split(button[i], b, " ")
                beside = 0
                for (j = 1; j <= r; ++j) { split(row[j], w, " "); if (w[1] < b[2] && b[1] < w[2]) beside = 1 }
                if (!beside) print name ": a player button at y " b[1] " stands beside no row"
            }
        }' "$1-lines.txt" >> tour/faults.txt
}

# Eight bowlers on the score sheet with the buttons: its first page, the second turned with RIGHT,
# then the person's shot up to its hook step, which says which keys set the hook.
begin eight
{
    press 60 RIGHT
    for f in 110 140 170 200; do press $f A; done
} > $dir/input.txt
shot 50 "eight bowlers" "Di Computer"
shot 100 "eight bowlers: page 2" "Hal Computer"
shot 215 "eight bowlers: hook with the keys" "SHIFT"
finish 230 --launch quick --players 8 --humans 1 --controls buttons --seed 7
# The slider's knob stays where the sheet's scroll puts it when the page turns.
for f in 00050 00100; do
    grep -q '^touch lower 50 125 ' tour/eight/frame$f-lines.txt ||
        echo "tour/eight/frame$f: the slider's knob is not at the sheet's scroll" >> tour/faults.txt
done

# Five bowlers with the stylus: the second page holds two, and its player buttons only their rows.
begin five
touch 60 296 30 > $dir/input.txt
shot 50 "five bowlers" "Cy Computer"
shot 100 "five bowlers: page 2" "Ed Computer"
finish 110 --launch quick --players 5 --humans 1 --seed 7
for f in 00050 00100; do player_buttons_by_rows tour/five/frame$f; done

# The HOME menu over the main menu, left by A on "Resume", and the power menu, left by B: each
# gives the main menu back as it was, the press that left it pressing nothing there.
begin home
{
    to_menu
    press 200 HOME; press 240 A
    press 300 POWER; press 340 B
} > $dir/input.txt
shot 220 "home menu" "HOME MENU"
shot 260 "home: resumed" "Main Menu"
shot 320 "power menu" "POWER MENU"
shot 380 "power: resumed" "Main Menu"
finish 400

# A league night of pairs: the second league joined from the career hub, its first week bowled
# (the pair's controllers, the career game's score sheet; the person bowls with the steps of the
# overlay tests' game, repeated while the three computer bowlers take their turns) and the table
# after it, on the next week and, turned back with Prev, on the week played.
begin league
{
    to_menu
    touch 200 160 175; touch 260 238 54   # Career, Leagues
    touch 300 130 80                      # the second league: its fee
    printf '340 touch 100 120\n382\n'      # "Yes" held: the entry saved, then the standings
    touch 600 160 140                     # Bowl: the pair's controllers
    touch 800 238 221                     # Bowl: the game
    grep -v '^#' "$steps" | awk 'NF && $1 < 960 { f = $1; for (k = 0; k < 40; ++k) { $1 = f + 940 + 900 * k; print } }' |
        sort -n
    touch 36600 108 79                    # Prev: the week played
} > $dir/input.txt
shot 590 "league: standings" "Bowl"
shot 700 "league: controllers" "Controller 1"
shot 1000 "league: week 1" "Player 1"
shot 36550 "league: a week bowled" "Downtown Doubles"
shot 36700 "league: its results" "Week 1"
finish 36720
# The table names each team once, by its own name (a team's position is the row's first text,
# its name the second); a result reads as two scores with a spaced dash between, never as a
# score and a negative number.
awk '$1 == "upper-left" { text = $6; for (i = 7; i <= NF; ++i) text = text " " $i; row[$3] = row[$3] "|" $2 "|" text }
    END {
        for (y in row) {
            n = split(substr(row[y], 2), f, "|"); first = second = ""; a = b = 1e9
            for (i = 1; i < n; i += 2) {
                x = f[i] + 0
                if (x < a) { b = a; second = first; a = x; first = f[i + 1] } else if (x < b) { b = x; second = f[i + 1] }
            }
            if (first !~ /^[0-9]+$/) continue
            ++teams
            if (seen[second]++) print "the team " second " is listed twice"
        }
        if (teams < 4) print "the table lists " teams + 0 " teams"
    }' tour/league/frame36550-lines.txt |
    sed 's|^|tour/league/frame36550: league: |' >> tour/faults.txt
awk '$1 == "upper-left" { text = $6; for (i = 7; i <= NF; ++i) text = text " " $i
        if (text ~ /^[0-9]+ - [0-9]+$/) ++results
        else if (text ~ /(^| )-([0-9]|$)/) print "the text \"" text "\" has a dash that hugs a score or ends the text"
    }
    END { if (!results) print "no result reads \"score - score\"" }' tour/league/frame36700-lines.txt |
    sed 's|^|tour/league/frame36700: league: |' >> tour/faults.txt

# A whole game played from the menus with the stylus: a replay, the game over, the question of
# another game, the saving boxes and the main menu again.
begin played
{
    to_menu
    touch 200 80 67; touch 250 186 194   # Quick Play, one bowler
    touch 300 281 72; touch 350 100 120  # Start, "Yes"
    grep -v '^#' "$steps" | awk 'NF { $1 = $1 + 358; print }'
} > $dir/input.txt
shot 17000 "played: replay" "Skip Replay"
shot 18000 "played: game over" "Game Over"
shot 18500 "played: again?" "again?"
shot 19380 "played: saving" "Saving." "$saving"
shot 19480 "played: saved" "Save Successful." "$saving"
shot 19750 "played: main menu" "Main Menu"
finish 19760

# Practice from the menus, and the practice game's pause menu.
begin practice
{
    to_menu
    touch 200 80 95; touch 260 160 82   # Practice, Practice Game
    press 600 START
} > $dir/input.txt
shot 450 "practice game" "Player"
shot 640 "practice: paused" "Quit Game"
finish 660

# Pin selection and the test mode's read-out, launched.
begin pinselect
: > $dir/input.txt
shot 50 "pin selection" "Player"
finish 60 --launch pinselect --players 1 --humans 1 --seed 7
begin testmode
printf '60 DOWN\n62\n' > $dir/input.txt
shot 50 "test mode" "TEST MODE"
shot 90 "test mode: menu" "TEST MODE"
finish 100 --launch quick --players 1 --test-mode --seed 7

# The mini-games' overlays, played with the buttons; in the spares challenge the shot's steps
# with the buttons too: the position, the angle, the power and the hook while the bowler swings.
for mode in spares bingo poker; do
    begin $mode
    awk 'BEGIN { for (f = 60; f < 400; f += 40) { print f " A"; print f + 2 } }' > $dir/input.txt
    shot 50 "$mode" "Ada Player"
    frames=60
    if [ $mode = spares ]; then
        shot 80 "spares: position" "POSITION"
        shot 120 "spares: angle" "ANGLE"
        shot 160 "spares: power" "POWER"
        shot 200 "spares: hook" "HOOK"
        frames=210
    fi
    finish $frames --launch $mode --players 2 --humans 1 --controls buttons --seed 7
done

# shows FRAME LABEL CHECK...: the lower screen of the run's shot at FRAME passes the colour checks
# of LANE_SHOT_CHECK.
shows() {
    name=$(printf '%s/frame%05d' $dir $1)
    label=$2
    shift 2
    "$colours" $name-lower.png "$@" > $name-colours.txt ||
        { cat $name-colours.txt && echo "$name: $label: the colour check failed (above)"; } >> tour/faults.txt
}

# A spares challenge past 1,000 points: a computer's score of four digits in the panel's well, and
# the start of its next attempt. Before, the start of the computer's first attempt, and while its
# ball rolls the score table. No prompt goes in the footer's corners for the computer, and no
# empty well stands there: the pin deck shows in its wood colour. At the end, the final table and
# its "{1} Exit", a button over glyph and word.
begin sparesscore
: > $dir/input.txt
shot 100 "spares: a computer's attempt" "attempt 1 for 1000 points"
shot 200 "spares: a computer's ball rolling" "Converted"
shot 600 "spares: 2,000 points" "2000"
shot 8300 "spares: game over" "Exit"
finish 8310 --launch spares --players 1 --seed 7
shows 100 "spares: a computer's attempt" warm:44,186,10,400 warm:278,186,10,400

# While a computer bowls, bingo's lower screen shows the card and pin selection's the pin deck,
# with no prompt and no empty well in its corners.
begin bingocomputer
: > $dir/input.txt
shot 300 "bingo: a computer's ball" "BINGO CARD"
finish 310 --launch bingo --players 2 --seed 7
begin pinselectcomputer
: > $dir/input.txt
shot 200 "pin selection: a computer's ball" "PIN SELECT"
finish 210 --launch pinselect --players 2 --seed 7
shows 200 "pin selection: a computer's ball" warm:38,184,8,250 warm:250,184,8,250

# The tour's verdict: every fault found, and the sheet to look at.
set --
while IFS='|' read -r label upper lower; do set -- "$@" "$label" "$upper" "$lower"; done < tour/sheet.txt
"$sheet" tour/contact-sheet.png 5 "$@"
if [ -s tour/faults.txt ]; then
    cat tour/faults.txt >&2
    fail "faults on the tour (above); the screens are on $(pwd)/tour/contact-sheet.png"
fi
