# Runs tessary-cli textconv over the UTF-8 sample in textconv/ (each conversion against its
# expected file), over the same text as Shift-JIS CR LF (written back in that code and line
# end), and through its refusals and argument errors.
set(work ${WORK}/textconv-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
set(fixtures ${CMAKE_CURRENT_LIST_DIR}/textconv)

function(run expected_rc)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE rc TIMEOUT 20
    OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "${ARGN}: exit ${rc}, expected ${expected_rc}\n${err}")
  endif()
  set(last_err "${err}" PARENT_SCOPE)
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

function(same a b)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${a} differs from ${b}")
  endif()
endfunction()

function(stderr_has text)
  string(FIND "${last_err}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "standard error lacks '${text}':\n${last_err}")
  endif()
endfunction()

# option|expected file
set(cases "--upper|upper" "--lower|lower" "--zen2han|zen2han" "--han2zen|han2zen" "--tabs 8|tabs8")
run(0 convert --read utf8 --to sjis --eol crlf ${fixtures}/sample.txt ${work}/sample_sjis.txt)
foreach(c IN LISTS cases)
  string(REPLACE "|" ";" parts "${c}")
  list(GET parts 0 option)
  list(GET parts 1 name)
  separate_arguments(option)
  run(0 textconv ${option} ${fixtures}/sample.txt ${work}/${name}.txt)
  same(${work}/${name}.txt ${fixtures}/${name}.txt)
  # The Shift-JIS CR LF file stays Shift-JIS CR LF and holds the same converted text.
  run(0 textconv ${option} ${work}/sample_sjis.txt ${work}/${name}_sjis.txt)
  run(0 convert --read utf8 --to sjis --eol crlf ${fixtures}/${name}.txt ${work}/${name}_expected_sjis.txt)
  same(${work}/${name}_sjis.txt ${work}/${name}_expected_sjis.txt)
endforeach()

# A file the editor opens write-protected is refused, and converted with --force.
set(esc ${CMAKE_CURRENT_LIST_DIR}/convert/esc.txt)
run(2 textconv --upper ${esc} ${work}/esc.out)
stderr_has("不正な文字を含んでいますので")
if(EXISTS ${work}/esc.out)
  message(FATAL_ERROR "a refused conversion wrote its output")
endif()
run(0 textconv --upper --force ${esc} ${work}/esc.out)
same(${work}/esc.out ${fixtures}/esc_upper.txt)

# Bad arguments: no conversion, two, a count the tab window does not offer, no count, no OUTPUT.
run(2 textconv ${fixtures}/sample.txt ${work}/x.out)
run(2 textconv --upper --lower ${fixtures}/sample.txt ${work}/x.out)
foreach(n 0 3 5 10 -4 four)
  run(2 textconv --tabs ${n} ${fixtures}/sample.txt ${work}/x.out)
  stderr_has("--tabs takes 2, 4, 6 or 8")
endforeach()
run(2 textconv --tabs)
run(2 textconv --upper ${fixtures}/sample.txt)
run(2 textconv --title ${fixtures}/sample.txt ${work}/x.out)
if(EXISTS ${work}/x.out)
  message(FATAL_ERROR "textconv wrote its output despite bad arguments")
endif()

run(1 textconv --upper ${work}/missing.txt ${work}/x.out)
stderr_has("ファイルがありません")
run(0 textconv --help)
string(FIND "${last_out}" "--tabs N" at)
if(at EQUAL -1)
  message(FATAL_ERROR "textconv --help does not explain --tabs:\n${last_out}")
endif()
