#!/bin/sh
# Prepares the save folder the end-to-end tests share: the first start of a new folder shows the
# initialising notice and writes the first save, and the tests count their frames without them.
# Usage: cli_data_has_its_first_save.sh PROGRAM
set -e
game=$1
mkdir -p cli-data
[ -f cli-data/savegame.bin ] || "$game" --headless --frames 400 --data cli-data > /dev/null
test -f cli-data/savegame.bin
