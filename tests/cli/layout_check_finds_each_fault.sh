#!/bin/sh
# The tour's layout checker, on hand-written records: it passes a sound layout and fails each kind
# of fault it is there to find; a known fault passes, and a question's cover hides what lies under
# it. A drawn button passes when touch targets press its middle and its corners together, and
# fails when one corner of it answers nothing.
#   layout_check_finds_each_fault.sh ZENDROLYX LAYOUT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
check=$2
rm -rf layout-check && mkdir -p layout-check
# case NAME STATUS RECORD [OPTION...]: the checker's status for that record.
case_() {
    printf "$3" > layout-check/$1.txt
    name=$1 status=$2
    shift 3
    exits_with "$status" "$check" layout-check/$name.txt "$@" > /dev/null
}
case_ sound 0 'box lower 10 10 100 30\nlower 20 16 60 17 Quick Play\nupper-left 10 10 100 17 Title\nmark lower 90 12 16 16\nbutton lower 6 44 296 55\ntouch lower 6 44 60 55\ntouch lower 60 44 242 55\n'
case_ button_with_a_dead_corner 1 'button lower 6 44 296 55\ntouch lower 6 44 296 50\n'
case_ button_with_dead_words 1 'button lower 6 44 296 55\ntouch lower 15 52 50 50\n'
case_ mark_over_a_label 1 'lower 2 110 30 14 LEFT\nmark upper-left 0 0 10 10\nmark lower 28 100 10 16\n'
case_ off_screen 1 'lower 300 10 40 17 Credits\n'
case_ overlapping 1 'lower 10 10 60 17 One\nlower 30 14 60 17 Two\n'
case_ past_its_button 1 'box lower 10 10 60 30\nlower 20 16 70 17 Black Short Sleeve\n'
case_ grown_out_of_its_box 1 'box upper-left 324 18 50 26\nupper-left 307 18 45 21 1000\n'
case_ touch_off_the_screen 1 'touch lower 300 200 48 32\n'
case_ known 0 'lower 300 10 40 17 Credits\n' --except 'lies outside the lower'
case_ under_a_question 0 'box lower 10 10 60 30\nlower 20 16 70 17 Behind\nbutton lower 10 150 60 30\nmark lower 20 16 8 8\ncover lower 0 0 320 240\nlower 40 100 60 17 Yes\n'
