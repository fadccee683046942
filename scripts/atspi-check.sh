#!/usr/bin/env bash
# Reads the main program's windows over the real accessibility bus, as a screen reader would:
# a private X server, a private session bus with the AT-SPI bus launcher, the program started on
# an accepted record (main window with results), then the About window (F1), the announcements
# after "Новые данные", and a second start on a record the calculation refuses (input-error
# window). Usage: scripts/atspi-check.sh [PROGRAM] [SCALE]; screenshots go to $SHOTS if set.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/test/app/vornale-lite}")
scale=${2:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'Vornale 5\r\nИванов Иван\r\n120\r\n80\r\n70\r\n0\r\n70\r\n175\r\n30\r\n' | iconv -f UTF-8 -t CP1251 >"$work/accepted.vnl"
printf 'Vornale 5\r\nИванов Иван\r\n120\r\n0\r\n70\r\n0\r\n70\r\n175\r\n30\r\n' | iconv -f UTF-8 -t CP1251 >"$work/refused.vnl"

cat >"$work/session.sh" <<EOF
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=\$!
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_SCALE_FACTOR=$scale LC_ALL=\${LC_ALL:-ru_RU.UTF-8}
read() { /usr/bin/python3 scripts/atspi-read.py vornale-lite "\$@"; }
"$program" "$work/accepted.vnl" & app=\$!
sleep 4
echo "=== main window, accepted record ==="; read
[ -n "\${SHOTS:-}" ] && import -window root "\$SHOTS/main-$scale.png"
echo "=== About window (F1) ==="; xdotool search --name "^Vornale Lite\$" windowfocus; xdotool key F1; sleep 1; read
[ -n "\${SHOTS:-}" ] && import -window root "\$SHOTS/about-$scale.png"
xdotool key Return; sleep 1
echo "=== announced after New ==="; read --press "Новые данные"
kill \$app; wait \$app 2>/dev/null
"$program" "$work/refused.vnl" & app=\$!
sleep 4
echo "=== input-error window ==="; read
[ -n "\${SHOTS:-}" ] && import -window root "\$SHOTS/error-$scale.png"
kill \$app \$launcher; wait 2>/dev/null
exit 0
EOF
xvfb-run -a -s "-screen 0 1366x768x24" dbus-run-session -- bash "$work/session.sh"
