#!/bin/sh
# Checks tessary-cli count on generated files: the loader's line rules and the wrapped rows.
# usage: run_count.sh CLI WORKDIR
set -u
cli=$1
work=$2/count-files
rm -rf "$work"
mkdir -p "$work"
failures=0

# expect NAME "ARGS" "LINES<TAB>ROWS"
expect() {
  name=$1 args=$2 want=$3
  # shellcheck disable=SC2086
  got=$("$cli" count $args "$work/$name" 2>&1)
  status=$?
  if [ "$status" -ne 0 ] || [ "$got" != "$(printf "$want")" ]; then
    echo "FAIL $name [$args]: got '$got' (exit $status), want '$want'"
    failures=$((failures + 1))
  fi
}
repeat() { # repeat COUNT TEXT: TEXT COUNT times
  i=0
  while [ "$i" -lt "$1" ]; do printf '%s' "$2"; i=$((i + 1)); done
}

printf 'a\rb\nc\r\nd' >"$work/mixed"
expect mixed "" '4\t4'
printf 'abc' >"$work/no_end"
expect no_end "" '1\t1'
printf '\r\n' >"$work/crlf_only"
expect crlf_only "" '1\t1'
: >"$work/empty"
expect empty "" '0\t0'
{ repeat 8191 x; printf '\r\nnext\r\n'; } >"$work/cr_at_block_end"
expect cr_at_block_end "" '2\t2'
# Control bytes in the first 4095 bytes make the loader show the text without them, so the
# block rules of byte 26 and the zero byte are checked further into the file.
{ repeat 4100 x; printf '\r\ncd\032ef\r\ngh\r\n'; } >"$work/eof_mark"
expect eof_mark "" '2\t2'
{ repeat 4097 z; printf '\r\nabc\000'; repeat 4089 h; printf 'def\r\n'; } >"$work/nul_hides_block"
expect nul_hides_block "" '2\t2'
printf 'ab\r\ncd\032ef\r\ngh\r\n' >"$work/early_control"
expect early_control "" '3\t3'
printf '\357\273\277\343\201\202\r\n\343\201\204\r\n' >"$work/utf8_bom"
expect utf8_bom "--wrap 20" '2\t2'
{ repeat 100 a; printf '\r\n'; repeat 80 b; } >"$work/wide"
expect wide "" '2\t2'
expect wide "--wrap 80" '2\t4'
expect wide "--wrap 5" '2\t11'  # kept at 20 columns: 5 + 1 and 4 + 1 rows
{ repeat 79 a; printf '\202\240\r\n'; } >"$work/double_byte_at_edge"
expect double_byte_at_edge "--wrap 80" '1\t2'
repeat 30 '	' >"$work/tabs"
expect tabs "--wrap 80 --tab 8" '1\t4'
expect tabs "--wrap 80" '1\t2'

if "$cli" count "$work/missing" 2>/dev/null; then
  echo "FAIL missing file: exit 0"
  failures=$((failures + 1))
fi
if [ -z "$("$cli" count "$work/missing" 2>&1 >/dev/null)" ]; then
  echo "FAIL missing file: no message"
  failures=$((failures + 1))
fi
# Paths that are no file are named by what they are; a FIFO without a writer is not waited on.
mkdir "$work/folder"
mkfifo "$work/fifo"
for kind in "folder:is a folder" "fifo:is a FIFO"; do
  name=${kind%%:*} said=${kind#*:}
  got=$(timeout 20 "$cli" count "$work/$name" 2>&1)
  status=$?
  case "$status:$got" in
    1:*"$name $said"*) ;;
    *) echo "FAIL $name: got '$got' (exit $status)"; failures=$((failures + 1)) ;;
  esac
done
case "$("$cli" count "$work/missing" 2>&1)" in
  *"missing: ファイルがありません") ;;
  *) echo "FAIL missing file: not reported as missing"; failures=$((failures + 1)) ;;
esac
if "$cli" count --wrap x "$work/wide" 2>/dev/null; then
  echo "FAIL bad --wrap accepted"
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "count: all cases pass"
exit "$failures"
