# Sourced by tools/run.sh and tools/measure-wayland.sh: a private headless sway with one output
# of the size given, as nobody when root (sway will not run as root).
#
#   start_private_sway WIDTHxHEIGHT    sets sway_dir, sway_pid, as_sway_user; WAYLAND_DISPLAY and
#                                      XDG_RUNTIME_DIR exported for programs run as_sway_user
#   stop_private_sway
start_private_sway() {
  sway_dir=$(mktemp -d /tmp/ascenda-sway.XXXXXX)
  chmod 755 "$sway_dir"
  mkdir -m 700 "$sway_dir/runtime"
  as_sway_user=
  if [ "$(id -u)" -eq 0 ]; then
    as_sway_user="setpriv --reuid=nobody --regid=nogroup --clear-groups --"
    chown nobody:nogroup "$sway_dir/runtime"
  fi
  printf 'output HEADLESS-1 mode %s\n' "$1" >"$sway_dir/config"
  XDG_RUNTIME_DIR=$sway_dir/runtime WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    $as_sway_user sway -c "$sway_dir/config" >"$sway_dir/sway.log" 2>&1 &
  sway_pid=$!
  export XDG_RUNTIME_DIR="$sway_dir/runtime" WAYLAND_DISPLAY=wayland-1
  tries=150
  until [ -S "$sway_dir/runtime/wayland-1" ] || [ $tries -eq 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  [ -S "$sway_dir/runtime/wayland-1" ] || { echo "sway did not start: $(cat "$sway_dir/sway.log")" >&2; return 1; }
}

stop_private_sway() {
  kill "$sway_pid" 2>/dev/null || true
  wait "$sway_pid" 2>/dev/null || true
  rm -rf "$sway_dir"
}
