#!/bin/sh
# The pro shop's questions answer both ways: from the main menu to the career hub and the shop,
# Shirts, and the first shirt held asks a question; held on its answer with the stylus, or
# answered with the d-pad and A, the question goes and the shop's list is as it was before. The
# third shirt, not yet owned, held, asks whether to buy it and says how each way agrees (Yes held
# with the stylus, A pressed on Yes); B answers No.
#   frontend_shop_questions_answer_stylus_and_buttons.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game=$1
rm -rf shop-ask && mkdir -p shop-ask
to_shop='5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 160 175\n215\n260 touch 238 135\n275\n'
to_wear="${to_shop}330 touch 52 45\n345\n380 touch 180 48\n430\n"
to_buy="${to_shop}330 touch 52 45\n345\n380 touch 180 108\n430\n"
ask() {  # name question-lines answer-lines
    mkdir -p shop-ask/$1/data && cp cli-data/savegame.bin shop-ask/$1/data/
    printf "$2$3" > shop-ask/$1/input.txt
    "$game" --headless --frames 600 --data shop-ask/$1/data --input shop-ask/$1/input.txt \
        --screenshot 370,460,590 --out shop-ask/$1 --layout-out > /dev/null
    # The question is up at 460 and gone by 590, leaving the list as before it.
    refute cmp -s shop-ask/$1/frame00370-lower.png shop-ask/$1/frame00460-lower.png
    cmp shop-ask/$1/frame00370-lower.png shop-ask/$1/frame00590-lower.png
}
ask stylus "$to_wear" '470 touch 100 125\n530\n'
ask buttons "$to_wear" '470 LEFT\n472\n480 A\n482\n'
ask back "$to_buy" '470 B\n472\n'
grep -q "lower .* Buy$" shop-ask/back/frame00460-lines.txt || fail "the buying question is not up"
grep -q "lower .* Hold$" shop-ask/back/frame00460-lines.txt || fail "the buying question does not say to hold Yes"
grep -q "lower .* A$" shop-ask/back/frame00460-lines.txt || fail "the buying question does not say that A on Yes buys"
