#!/bin/sh
# Game data without the menus' UI description: the title still shows, and leaving it ends the
# program with status 1 and a message naming the description instead of an empty menu with no way
# on.
#   frontend_missing_menu_description_is_reported.sh ZENDROLYX ROM MKROM
set -e
. "$(dirname "$0")/checks.sh"
game=$1
rom=$2
mkrom=$3
rm -rf no-menus && mkdir -p no-menus/rom/Resource
for f in Resource.rez Video ui db; do ln -s "$rom/$f" no-menus/rom/$f; done
for f in SpecialCharacters.rez BasicUiRez.rez; do ln -s "$rom/Resource/$f" no-menus/rom/Resource/$f; done
remake_list "$mkrom" no-menus/rom
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n' > no-menus/input.txt
exits_with 1 "$game" --headless --verbose --frames 400 --rom no-menus/rom --data cli-data --input no-menus/input.txt \
    > /dev/null 2> no-menus/err.txt
grep -q 'main menu: Resource\\ui360.xml or the game data it names is damaged (.*ui360.xml' no-menus/err.txt
