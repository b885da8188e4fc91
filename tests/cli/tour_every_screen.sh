#!/bin/sh
# A tour of the screens a player meets, by input scripts from a saved game: the title, the main
# menu and each of its pages (Quick Play and its question, Mini-Games, Practice, Options and the
# save boxes on leaving it, How to Play, Credits), the career (hub, bowler, the leagues,
# tournaments and rivals lists, a league's fee question and standings, the pro shop, its
# categories and a question, the trophy case), the bowlers page and its keyboard, the controller
# screen, the HOME and power menus, a league's first week, a quick game (score sheet, the shot's
# steps, the pause menu and its question), the two pages of an eight-bowler sheet, a whole game
# from the menus (replay, game over, another game?, the saving boxes), practice and its pause
# menu, pin selection, the test mode's read-out, the mini-games' overlays and a spares challenge
# past 1,000 points. Each screen is shot with the lines of text it shows (--layout-out); each must
# show the text that names it, no line may reach off its screen, overlap another or run out of
# the box it lies on, and no shot may be entirely black. Every shot goes on one contact sheet,
# tour/contact-sheet.png, written even when a check fails.
#   tour_every_screen.sh ZENDROLYX LAYOUT_CHECK CONTACT_SHEET HUMAN_GAME_INPUT
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
sheet=$3
steps=$4
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
# that lines stand on where the lane shows through it).
finish() {
    frames=$1
    shift
    list=$(cut -d'|' -f1 $dir/shots.txt | tr '\n' , | sed 's/,$//')
    "$game" --headless --frames $frames --data $dir/data --input $dir/input.txt --screenshot $list --out $dir \
        --layout-out "$@" > $dir/out.txt
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

# A quick game of a person and the computer: the score sheet, the set-up menu, the shot's steps
# (position, then the ball flicked), the pause menu and its question.
begin game
{
    printf '60 B\n62\n80 A\n82\n100 touch 251 198\n102\n120 touch 158 205\n122 touch 158 155\n124 touch 158 85\n130\n'
    press 900 START
    touch 940 85 164
} > $dir/input.txt
shot 50 "game: score sheet" "Bo Computer"
shot 75 "game: set-up" "BOWL"
shot 95 "game: position" "POSITION"
shot 115 "game: release" "Back"
shot 140 "game: ball rolling" "Ada Player"
shot 930 "game: paused" "Quit Game"
shot 980 "game: pause question" "Are you sure you want to quit?"
finish 1000 --launch quick --players 2 --humans 1 --seed 7

# Eight bowlers on the score sheet: its first page, and the second turned with the stylus.
begin eight
touch 60 296 30 > $dir/input.txt
shot 50 "eight bowlers" "Di Computer"
shot 100 "eight bowlers: page 2" "Hal Computer"
finish 110 --launch quick --players 8 --humans 1 --seed 7

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

# A league night: the first league joined from the career hub and its first week bowled (the
# career game's score sheet and the lane).
begin league
{
    to_menu
    touch 200 160 175; touch 260 238 54   # Career, Leagues
    touch 300 130 50                      # the first league: its fee
    printf '340 touch 100 120\n382\n'      # "Yes" held: the entry saved, then the standings
    touch 600 160 140                     # Bowl
} > $dir/input.txt
shot 590 "league: standings" "Bowl"
shot 700 "league: week 1" "Player 1"
finish 720

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

# The mini-games' overlays, played with the buttons.
for mode in spares bingo poker; do
    begin $mode
    awk 'BEGIN { for (f = 60; f < 400; f += 40) { print f " A"; print f + 2 } }' > $dir/input.txt
    shot 50 "$mode" "Ada Player"
    finish 60 --launch $mode --players 2 --humans 1 --controls buttons --seed 7
done

# A spares challenge past 1,000 points: a computer's score of four digits in the panel's well, and
# the start of its next attempt. Before, while the computer's first ball rolls, the lower screen
# shows the score table.
begin sparesscore
: > $dir/input.txt
shot 200 "spares: a computer's ball rolling" "Converted"
shot 600 "spares: 2,000 points" "2000"
finish 620 --launch spares --players 1 --seed 7

# The tour's verdict: every fault found, and the sheet to look at.
set --
while IFS='|' read -r label upper lower; do set -- "$@" "$label" "$upper" "$lower"; done < tour/sheet.txt
"$sheet" tour/contact-sheet.png 5 "$@"
if [ -s tour/faults.txt ]; then
    cat tour/faults.txt >&2
    fail "faults on the tour (above); the screens are on $(pwd)/tour/contact-sheet.png"
fi
