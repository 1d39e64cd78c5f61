#!/usr/bin/env bash
# The Wine test bench: a private Xvfb with openbox and a tray host, and one
# fresh Wine prefix that all Wine-run tests of a run share.
#
#   wine-bench.sh start STATE_DIR     start everything, write STATE_DIR/bench.env
#   wine-bench.sh stop STATE_DIR      end everything start began (by pid)
#   wine-bench.sh env STATE_DIR       print the env file's path
#   wine-bench.sh exec STATE_DIR CMD  run CMD with the bench's environment
#
# KLIPORA_BENCH_DISPLAYS="first-last" chooses the display numbers to try
# (default 100-199); KLIPORA_BENCH_KEEP=1 keeps the prefix after stop.
set -euo pipefail

usage() { echo "usage: $0 start|stop|env|exec STATE_DIR [command...]" >&2; exit 2; }
say() { printf 'wine-bench: %s\n' "$*" >&2; }

[ $# -ge 2 ] || usage
cmd=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2
envfile="$state/bench.env"
pidfile="$state/pids"
prefix="$state/prefix"
logs="$state/logs"

display_free() { [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ]; }

wait_for() { # seconds, command...: poll until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# Exited children of ours may stay zombies (nobody reaps them here), so a
# zombie counts as ended.
alive() { [ -r "/proc/$1/stat" ] && ! grep -q '^[0-9]* (.*) Z ' "/proc/$1/stat" 2>/dev/null; }

# Starts a program in the background, detached from our stdio (ctest waits
# for its pipes to close), and records its pid.
spawn() { # name, command...
  local name=$1; shift
  "$@" </dev/null >"$logs/$name.log" 2>&1 &
  echo "$name $!" >>"$pidfile"
  echo $!
}

start_xvfb() {
  local range=${KLIPORA_BENCH_DISPLAYS:-100-199} n pid
  for ((n = ${range%-*}; n <= ${range#*-}; n++)); do
    display_free "$n" || continue
    pid=$(spawn xvfb Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset)
    # Another run may grab the same number at the same moment: Xvfb then
    # exits, and we try the next one.
    if wait_for 10 xdpyinfo -display ":$n" && alive "$pid"; then
      display=":$n"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
    sed -i "/^xvfb $pid\$/d" "$pidfile"
  done
  say "no free X display in $range"
  return 1
}

write_env() {
  {
    printf 'export DISPLAY=%q\n' "$display"
    printf 'export WINEPREFIX=%q\n' "$prefix"
    printf 'export WINEDEBUG=%q\n' "-all"
    printf 'export WINEDLLOVERRIDES=%q\n' "winealsa.drv,winepulse.drv=d"
    printf 'export WINEARCH=%q\n' "win64"
    # Wine converts the command line from the locale's encoding.
    printf 'export LANG=%q\n' "C.UTF-8"
    printf 'export LC_ALL=%q\n' "C.UTF-8"
  } >"$envfile.tmp"
  mv "$envfile.tmp" "$envfile"
}

do_stop() {
  if [ -f "$envfile" ]; then
    (
      # shellcheck disable=SC1090
      . "$envfile"
      if [ -d "$WINEPREFIX" ]; then
        timeout 20 wineserver -k >/dev/null 2>&1 || true
        timeout 20 wineserver -w >/dev/null 2>&1 || true
      fi
    )
  fi
  if [ -f "$pidfile" ]; then
    # Reverse start order: tray host and window manager before the X server.
    local name pid
    tac "$pidfile" | while read -r name pid; do
      alive "$pid" || continue
      kill "$pid" 2>/dev/null || true
      local i
      for ((i = 0; i < 50; i++)); do
        alive "$pid" || break
        sleep 0.1
      done
      if alive "$pid"; then kill -9 "$pid" 2>/dev/null || true; fi
    done
    rm -f "$pidfile"
  fi
  rm -f "$envfile"
  if [ "${KLIPORA_BENCH_KEEP:-0}" != 1 ]; then
    rm -rf "$prefix"
  fi
}

do_start() {
  do_stop # leftovers of a run that could not clean up
  mkdir -p "$logs"
  : >"$pidfile"
  trap 'say "start failed, cleaning up"; do_stop' ERR
  start_xvfb
  export DISPLAY=$display
  spawn openbox openbox --sm-disable >/dev/null
  wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
  spawn trayer trayer --edge top --align right --widthtype request --height 24 >/dev/null
  rm -rf "$prefix"
  write_env
  # shellcheck disable=SC1090
  . "$envfile"
  # No Mono or Gecko here: without these overrides wineboot would offer to
  # download them.
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mscoree,mshtml=" \
    wineboot -i </dev/null >"$logs/wineboot.log" 2>&1
  wineserver -w
  # A persistent server keeps each later program start at a fraction of a
  # second.
  wineserver -p </dev/null >"$logs/wineserver.log" 2>&1
  trap - ERR
  say "ready on $display, prefix $prefix"
}

case $cmd in
  start) do_start ;;
  stop) do_stop ;;
  env) [ -f "$envfile" ] && echo "$envfile" ;;
  exec)
    [ $# -ge 1 ] || usage
    [ -f "$envfile" ] || { say "bench not started ($envfile missing)"; exit 1; }
    # shellcheck disable=SC1090
    . "$envfile"
    # Output goes through a file, not straight to our stdout: the Wine
    # desktop process, started on demand, would inherit a pipe and keep the
    # caller (ctest) waiting for it to close.
    out=$(mktemp "$state/exec.XXXXXX")
    code=0
    "$@" </dev/null >"$out" 2>&1 || code=$?
    cat "$out"
    rm -f "$out"
    exit "$code"
    ;;
  *) usage ;;
esac
