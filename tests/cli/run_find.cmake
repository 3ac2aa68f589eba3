# Runs tessary-cli find over a folder holding a UTF-8 file and a Shift-JIS CR LF file, through
# each search option, the per-file counts, and the exit statuses for no hit and for errors.
set(work ${WORK}/find-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/docs/sub)

function(run expected_rc)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE rc TIMEOUT 20
    OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}\n${err}")
  endif()
  set(last_err "${err}" PARENT_SCOPE)
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

function(stdout_is expected)
  if(NOT last_out STREQUAL expected)
    message(FATAL_ERROR "standard output:\n${last_out}\nexpected:\n${expected}")
  endif()
endfunction()

function(stderr_has text)
  string(FIND "${last_err}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "standard error lacks '${text}':\n${last_err}")
  endif()
endfunction()

# The folder: a UTF-8 LF file, and below it a Shift-JIS CR LF file written by convert.
set(docs ${work}/docs)
file(WRITE ${docs}/a_utf8.txt "東京と大阪\n京都へ行く\n東京タワー\n")
file(WRITE ${work}/b_source.txt "今日は東京\n東京都\n")
run(0 convert --read utf8 --to sjis --eol crlf ${work}/b_source.txt ${docs}/sub/b_sjis.txt)

# Hits of both files in path order; offsets are Shift-JIS bytes whatever the file's code.
run(0 find 東京 ${docs})
stdout_is("${docs}/a_utf8.txt\t1\t0\t4\t東京と大阪
${docs}/a_utf8.txt\t3\t0\t4\t東京タワー
${docs}/sub/b_sjis.txt\t1\t6\t4\t今日は東京
${docs}/sub/b_sjis.txt\t2\t0\t4\t東京都
")
run(0 find --count 京 ${docs})
stdout_is("${docs}/a_utf8.txt\t3\n${docs}/sub/b_sjis.txt\t2\n")
# Whole words: a double-byte character next to the word makes it part of a longer word;
# blanks, "_" and "." end a word.
file(WRITE ${work}/jwords.txt "東京 東京都 は東京\n(東京)\n")
run(0 find --word 東京 ${work}/jwords.txt)
stdout_is("${work}/jwords.txt\t1\t0\t4\t東京 東京都 は東京\n${work}/jwords.txt\t2\t1\t4\t(東京)\n")
file(WRITE ${work}/words.txt "Cat concat cat_x cat.\n")
run(0 find --word cat ${work}/words.txt)
stdout_is("${work}/words.txt\t1\t0\t3\tCat concat cat_x cat.
${work}/words.txt\t1\t11\t3\tCat concat cat_x cat.
${work}/words.txt\t1\t17\t3\tCat concat cat_x cat.
")
run(0 find --case --count cat ${work}/words.txt)
stdout_is("${work}/words.txt\t3\n")
# Full-width and half-width forms are equal with --width; the hit covers the text's bytes.
file(WRITE ${work}/width.txt "ＡＢＣと abc\n")
run(0 find --width ABC ${work}/width.txt)
stdout_is("${work}/width.txt\t1\t0\t6\tＡＢＣと abc
${work}/width.txt\t1\t9\t3\tＡＢＣと abc
")

# --breaks: a hit across a line end (counted as CR LF even in an LF file) and across a blank.
file(WRITE ${work}/breaks.txt "大阪\n城と東 京\n")
run(0 find --breaks 阪城 ${work}/breaks.txt)
stdout_is("${work}/breaks.txt\t1\t2\t6\t大阪\n")
run(0 find --breaks 東京 ${work}/breaks.txt)
stdout_is("${work}/breaks.txt\t2\t4\t5\t城と東 京\n")
run(1 find 阪城 ${work}/breaks.txt)
stdout_is("")
run(1 find --count 阪城 ${work}/breaks.txt)
stdout_is("${work}/breaks.txt\t0\n")

# Errors: empty word, one Shift-JIS cannot hold, no PATH; an unreadable file among others.
# (an empty argument is passed directly: cmake drops empty list items)
execute_process(COMMAND ${CLI} find "" ${docs} RESULT_VARIABLE rc ERROR_VARIABLE last_err)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "an empty WORD: exit ${rc}, expected 2")
endif()
stderr_has("WORD is empty")
run(2 find "😀" ${docs})
stderr_has("Shift-JIS cannot hold")
run(2 find 東京)
run(2 find --nope 東京 ${docs})
run(2 find --count 東京 ${work}/missing.txt ${docs}/a_utf8.txt)
stderr_has("ファイルがありません")
stdout_is("${docs}/a_utf8.txt\t2\n")

run(0 find --help)
string(FIND "${last_out}" "--count" at)
if(at EQUAL -1)
  message(FATAL_ERROR "find --help does not explain --count:\n${last_out}")
endif()
