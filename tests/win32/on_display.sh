#!/bin/sh
# Runs a Windows program on a virtual display of its own. The prefix's Wine server is waited out
# first: one started without a display (by wineboot or a console test) would give the program a
# default screen of 1024 x 768 instead of this one. Usage: on_display.sh SCREEN COMMAND...
screen=$1
shift
wineserver -w
exec xvfb-run -a -s "-screen 0 $screen" "$@"
