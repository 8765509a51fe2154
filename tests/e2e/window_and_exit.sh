#!/bin/bash
# The real game under X: its window (800 x 600 also without "[RESOLUTION]"),
# a clean result log, SIGTERM and exit 18, and a leak report without leaks.
source "$(dirname "$0")/lib.bash" "$@"

# Without "[RESOLUTION]" window and back buffer keep their 800 x 600.
own Assets/Scripts/Config/qnengine.cfg
sed -i '/^\[RESOLUTION\]/d' Assets/Scripts/Config/qnengine.cfg
! grep -q '^\[RESOLUTION\]' Assets/Scripts/Config/qnengine.cfg || fail "the key is still there"
start_game
sleep 2

geometry=$(xwininfo -id "$WID")
echo "$geometry" | grep -q "Width: 800" || fail "client width is not 800: $geometry"
echo "$geometry" | grep -q "Height: 600" || fail "client height is not 600: $geometry"
xprop -id "$WID" WM_CLASS | grep -q '"Zarvel"' || fail "X11 class is not Zarvel: $(xprop -id "$WID" WM_CLASS)"
kill -0 "$GAME_PID" || fail "the game died"

kill -TERM "$GAME_PID"
wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE, expected 18"

head='<html>
<head>
<title>QN Engine Result Log</title>
</head>
<body>
<b><p align="center"><font size="3" face="Arial">QN Engine Result Log</font></p></b>

<font size="2" face="Arial">

<center><table border="1" cellpadding="5" cellspacing="0">
<tr>
'
log=$(cat Logs/QNResultLog.htm)
expected="${head}"$'\t<td><font size="2" face="Arial"><b>RESULT DEFINE:</b></font></td>\n\t<td><font size="2" face="Arial"><b>DESCRIPTION:\t</b></font></td>\n\t<td><font size="2" face="Arial"><b>LOCATION:\t\t</b></font></td>\n\t<td><font size="2" face="Arial"><b>ADDITIONAL INFO:</b></font></td>\n</tr>\n\n</table></center>\n\n</body>\n\n</html>'
if [ "$log" != "$expected" ]; then
  echo "$log" >&2
  fail "the result log holds more than head, header row and tail"
fi

grep -q "Congratulations! No memory leaks found!" Logs/QNMemleaks.log || {
  cat Logs/QNMemleaks.log >&2
  fail "the leak report lists leaks"
}
grep -q "Memory logging file created on" Logs/QNMemory.log || fail "no memory log head"
echo "PASS"
