# Timing helpers sourced by the peer scripts.

# Best of three wall-clock seconds of a shell command (given as one string or as words).
best() {
  local best_t=999999 t
  for _ in 1 2 3; do
    t=$( { /usr/bin/env TIMEFORMAT=%R bash -c "time $* >/dev/null 2>&1" ; } 2>&1 )
    best_t=$(awk -v a="$best_t" -v b="$t" 'BEGIN{print (b<a)?b:a}')
  done
  echo "$best_t"
}
