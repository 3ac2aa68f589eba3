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
