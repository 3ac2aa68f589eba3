# Runs tessary-cli convert over the bundled samples and the fixtures in convert/: every sample
# to Shift-JIS CR LF and back into its own code, the defaults, refusals, --force and warnings.
set(work ${WORK}/convert-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
set(fixtures ${CMAKE_CURRENT_LIST_DIR}/convert)

function(convert expected_rc)
  execute_process(COMMAND ${CLI} convert ${ARGN} RESULT_VARIABLE rc TIMEOUT 20
    OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "convert ${ARGN}: exit ${rc}, expected ${expected_rc}\n${err}")
  endif()
  set(last_err "${err}" PARENT_SCOPE)
endfunction()

function(same a b)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${a} differs from ${b}")
  endif()
endfunction()

# A file that a refused or failed conversion must have left holding "keep".
function(still_kept file)
  file(READ ${file} kept)
  if(NOT kept STREQUAL "keep")
    message(FATAL_ERROR "${file} was changed by a conversion that did not write it")
  endif()
endfunction()

function(stderr_has text)
  string(FIND "${last_err}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "standard error lacks '${text}':\n${last_err}")
  endif()
endfunction()

# sample file -> the --to and --eol that write it
set(targets
  "sjis_crlf.txt|sjis|crlf" "sjis_cr.txt|sjis|cr" "sjis_lf.txt|sjis|lf"
  "utf8_bom_crlf.txt|utf8bom|crlf" "utf8_lf.txt|utf8|lf"
  "utf16le_bom_crlf.txt|utf16bomle|crlf" "utf16be_bom_crlf.txt|utf16bombe|crlf"
  "utf16le_lf.txt|utf16le|lf" "utf16be_cr.txt|utf16be|cr")
foreach(t IN LISTS targets)
  string(REPLACE "|" ";" parts "${t}")
  list(GET parts 0 name)
  list(GET parts 1 code)
  list(GET parts 2 eol)
  convert(0 --to sjis --eol crlf ${SAMPLES}/${name} ${work}/${name}.sjis)
  same(${work}/${name}.sjis ${SAMPLES}/sjis_crlf.txt)
  convert(0 --to ${code} --eol ${eol} ${SAMPLES}/sjis_crlf.txt ${work}/${name}.back)
  same(${work}/${name}.back ${SAMPLES}/${name})
  # Without --to and --eol the file is written as it was found.
  convert(0 ${SAMPLES}/${name} ${work}/${name}.same)
  same(${work}/${name}.same ${SAMPLES}/${name})
endforeach()

# A forced read code: the UTF-8 bytes read as Shift-JIS come back unchanged.
convert(0 --read sjis ${SAMPLES}/utf8_lf.txt ${work}/raw.txt)
same(${work}/raw.txt ${SAMPLES}/utf8_lf.txt)

convert(2 ${fixtures}/esc.txt ${work}/esc.out)
stderr_has("不正な文字を含んでいますので")
if(EXISTS ${work}/esc.out)
  message(FATAL_ERROR "a refused conversion wrote its output")
endif()
convert(0 --force ${fixtures}/esc.txt ${work}/esc.out)
same(${work}/esc.out ${fixtures}/esc_expected.txt)

convert(2 ${fixtures}/mixed.txt ${work}/mixed.out)
stderr_has("改行(CrLf)までに、さらに改行(Lf)がありますので")
convert(0 --force ${fixtures}/mixed.txt ${work}/mixed.out)
same(${work}/mixed.out ${fixtures}/mixed_expected.txt)

convert(2 ${fixtures}/broken_utf8.txt ${work}/broken.out)
stderr_has("ファイルサイズが 0 以上ですが、テキストが取得できませんでした")

# Large inputs are read piece by piece. A whole-file fact found only after the first pieces
# were written (here an LF alone near the end of a CR LF text) leaves the output as it was, and
# the whole load decides as for any file.
string(REPEAT "あいうえお漢字\r\n" 20000 body)
file(WRITE ${work}/late_mixed.txt "${body}last\n")
file(WRITE ${work}/late.out "keep")
convert(2 ${work}/late_mixed.txt ${work}/late.out)
stderr_has("改行(CrLf)までに、さらに改行(Lf)がありますので")
still_kept(${work}/late.out)
convert(0 --force --to utf8 ${work}/late_mixed.txt ${work}/late.out)
file(WRITE ${work}/late_clean.txt "${body}")
convert(0 --to sjis ${work}/late_clean.txt ${work}/late_clean.sjis)
convert(0 --to utf8 ${work}/late_clean.sjis ${work}/late_clean.back)
same(${work}/late_clean.back ${work}/late_clean.txt)

convert(0 --to sjis ${fixtures}/emoji_utf8.txt ${work}/emoji.out)
stderr_has("warning: 1 characters")  # one emoji, two "?"
same(${work}/emoji.out ${fixtures}/emoji_expected.txt)

convert(1 ${work}/missing.txt ${work}/x.out)
stderr_has("ファイルがありません")
convert(2 --to auto ${SAMPLES}/sjis_crlf.txt ${work}/x.out)
convert(2 --eol dos ${SAMPLES}/sjis_crlf.txt ${work}/x.out)
convert(2 ${SAMPLES}/sjis_crlf.txt)

# Inputs that are no file are named by what they are and never waited on.
file(MAKE_DIRECTORY ${work}/folder)
execute_process(COMMAND mkfifo ${work}/fifo)
convert(1 ${work}/folder ${work}/x.out)
stderr_has("folder is a folder")
convert(1 ${work}/fifo ${work}/x.out)
stderr_has("fifo is a FIFO")
convert(1 /dev/zero ${work}/x.out)
stderr_has("/dev/zero is a character device")

# The output's content is written; what its path is stays: a link stays a link.
file(WRITE ${work}/linked.txt "old")
file(CREATE_LINK linked.txt ${work}/link.txt SYMBOLIC)
convert(0 ${SAMPLES}/sjis_crlf.txt ${work}/link.txt)
if(NOT IS_SYMLINK ${work}/link.txt)
  message(FATAL_ERROR "the link to the output was replaced by a file")
endif()
same(${work}/linked.txt ${SAMPLES}/sjis_crlf.txt)

# Devices are written, not replaced: standard output as a pipe and as a file, the null device.
execute_process(COMMAND ${CLI} convert ${SAMPLES}/utf8_lf.txt /dev/stdout RESULT_VARIABLE rc
  TIMEOUT 20 OUTPUT_VARIABLE out)
file(READ ${SAMPLES}/utf8_lf.txt expected)
if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "convert to /dev/stdout: exit ${rc}, wrote:\n${out}")
endif()
execute_process(COMMAND ${CLI} convert ${SAMPLES}/sjis_crlf.txt /dev/stdout RESULT_VARIABLE rc
  TIMEOUT 20 OUTPUT_FILE ${work}/stdout.txt)
same(${work}/stdout.txt ${SAMPLES}/sjis_crlf.txt)
convert(0 ${SAMPLES}/sjis_crlf.txt /dev/null)
execute_process(COMMAND test -c /dev/null RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "/dev/null is no longer a device")
endif()

# A read-only output is refused and kept; a missing folder is named.
file(WRITE ${work}/ro.txt "keep")
execute_process(COMMAND chmod 0444 ${work}/ro.txt)
convert(1 ${SAMPLES}/sjis_crlf.txt ${work}/ro.txt)
stderr_has("ro.txt is write-protected")
still_kept(${work}/ro.txt)
convert(1 ${SAMPLES}/sjis_crlf.txt ${work}/no-folder/x.out)
stderr_has("its folder does not exist")
