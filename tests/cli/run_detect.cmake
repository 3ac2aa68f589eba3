# Runs tessary-cli detect over the bundled samples and compares with the expected table.
file(GLOB samples RELATIVE ${SAMPLES} ${SAMPLES}/*.txt)
list(SORT samples)
execute_process(COMMAND ${CLI} detect ${samples} WORKING_DIRECTORY ${SAMPLES}
  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "tessary-cli detect exited with ${rc}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "detect output differs.\n--- got:\n${out}--- expected:\n${expected}")
endif()

# A missing file is reported on standard error, the others still on standard output, status 1.
execute_process(COMMAND ${CLI} detect sjis_crlf.txt no-such-file.txt utf8_lf.txt
  WORKING_DIRECTORY ${SAMPLES} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "a missing file must give exit status 1, got ${rc}")
endif()
if(NOT out STREQUAL "1\t0\t0\t0\tsjis_crlf.txt\n3\t2\t0\t0\tutf8_lf.txt\n")
  message(FATAL_ERROR "the readable files must still be reported, got:\n${out}")
endif()
if(NOT err MATCHES "no-such-file.txt")
  message(FATAL_ERROR "the message must name the missing file, got:\n${err}")
endif()
if(NOT err MATCHES "no-such-file.txt: ファイルがありません")
  message(FATAL_ERROR "a missing file is reported as missing, got:\n${err}")
endif()

# Paths that are no file are named by what they are, at once: a FIFO without a writer and an
# endless device must not hold the command up.
set(work ${WORK}/detect-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/folder)
execute_process(COMMAND mkfifo ${work}/fifo RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "mkfifo failed")
endif()
execute_process(COMMAND ${CLI} detect ${work}/fifo ${work}/folder /dev/zero sjis_crlf.txt
  WORKING_DIRECTORY ${SAMPLES} TIMEOUT 20
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "paths that are no file must give exit status 1, got ${rc}")
endif()
foreach(said "fifo is a FIFO" "folder is a folder" "/dev/zero is a character device")
  string(FIND "${err}" "${said}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "standard error lacks '${said}':\n${err}")
  endif()
endforeach()
if(NOT out STREQUAL "1\t0\t0\t0\tsjis_crlf.txt\n")
  message(FATAL_ERROR "the file after them must still be reported, got:\n${out}")
endif()
