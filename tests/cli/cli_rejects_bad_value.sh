#!/bin/sh
# A bad value of an option exits with status 2.
# Run by ctest in the build's tests folder with $1 the program.
program=$1
"$program" --frames many 2>/dev/null; test $? -eq 2
