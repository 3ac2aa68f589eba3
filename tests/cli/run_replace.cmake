# Runs tessary-cli replace on a Shift-JIS CR LF file and a UTF-8 LF file (each written back in
# its own code and line end), through the search options, its refusals and argument errors.
set(work ${WORK}/replace-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})

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

function(same a b)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${a} differs from ${b}")
  endif()
endfunction()

# Writes `text` as UTF-8 LF to NAME.txt and as Shift-JIS CR LF to NAME_sjis.txt.
function(both name text)
  file(WRITE ${work}/${name}.txt "${text}")
  run(0 convert --read utf8 --to sjis --eol crlf ${work}/${name}.txt ${work}/${name}_sjis.txt)
endfunction()

both(in "東京と東京\n京都の東京タワー\n")
both(expected "大阪と大阪\n京都の大阪タワー\n")
run(0 replace 東京 大阪 ${work}/in_sjis.txt ${work}/out_sjis.txt)
stdout_is("3\n")
same(${work}/out_sjis.txt ${work}/expected_sjis.txt)
run(0 replace 東京 大阪 ${work}/in.txt ${work}/out.txt)
stdout_is("3\n")
same(${work}/out.txt ${work}/expected.txt)

# No hit: the file is written back byte for byte. A replacement holding the word ends.
run(0 replace 名古屋 大阪 ${work}/in_sjis.txt ${work}/none_sjis.txt)
stdout_is("0\n")
same(${work}/none_sjis.txt ${work}/in_sjis.txt)
both(grown_expected "東京京と東京京\n京京都の東京京タワー\n")
run(0 replace 京 京京 ${work}/in_sjis.txt ${work}/grown_sjis.txt)
stdout_is("4\n")
same(${work}/grown_sjis.txt ${work}/grown_expected_sjis.txt)

# A last line without a line end stays without one.
file(WRITE ${work}/noeol.txt "東京abc")
file(WRITE ${work}/noeol_expected.txt "東京aXc")
run(0 replace b X ${work}/noeol.txt ${work}/noeol_out.txt)
same(${work}/noeol_out.txt ${work}/noeol_expected.txt)

# --breaks replaces a hit across a line end (the line end goes with it); an empty replacement
# deletes; --word and --case narrow the hits.
both(breaks "大阪\n城と東 京\n")
both(breaks_expected "大Xと\n")
run(0 replace --breaks 阪城 X ${work}/breaks_sjis.txt ${work}/b1_sjis.txt)
# (empty arguments are passed directly: cmake drops empty list items)
execute_process(COMMAND ${CLI} replace --breaks 東京 "" ${work}/b1_sjis.txt ${work}/b2_sjis.txt
  RESULT_VARIABLE rc OUTPUT_VARIABLE last_out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "an empty REPLACEMENT: exit ${rc}, expected 0")
endif()
stdout_is("1\n")
same(${work}/b2_sjis.txt ${work}/breaks_expected_sjis.txt)
file(WRITE ${work}/words.txt "Cat concat cat_x\n")
file(WRITE ${work}/words_expected.txt "dog concat dog_x\n")
run(0 replace --word cat dog ${work}/words.txt ${work}/words_out.txt)
stdout_is("2\n")
same(${work}/words_out.txt ${work}/words_expected.txt)
run(0 replace --case --word Cat dog ${work}/words.txt ${work}/words_out.txt)
stdout_is("1\n")

# A file the editor opens write-protected is refused, and replaced in with --force.
set(esc ${CMAKE_CURRENT_LIST_DIR}/convert/esc.txt)
run(2 replace a x ${esc} ${work}/esc.out)
if(EXISTS ${work}/esc.out)
  message(FATAL_ERROR "a refused replace wrote its output")
endif()
run(0 replace --force a x ${esc} ${work}/esc.out)
stdout_is("1\n")

# Bad arguments: empty word, a word or replacement Shift-JIS cannot hold, a missing OUTPUT.
execute_process(COMMAND ${CLI} replace "" x ${work}/in.txt ${work}/x.out RESULT_VARIABLE rc)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "an empty WORD: exit ${rc}, expected 2")
endif()
run(2 replace "😀" x ${work}/in.txt ${work}/x.out)
run(2 replace 東京 "😀" ${work}/in.txt ${work}/x.out)
run(2 replace 東京 x ${work}/in.txt)
if(EXISTS ${work}/x.out)
  message(FATAL_ERROR "replace wrote its output despite bad arguments")
endif()
run(1 replace 東京 x ${work}/missing.txt ${work}/x.out)
run(0 replace --help)
string(FIND "${last_out}" "--force" at)
if(at EQUAL -1)
  message(FATAL_ERROR "replace --help does not explain --force:\n${last_out}")
endif()
