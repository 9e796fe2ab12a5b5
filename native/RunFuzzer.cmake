# Runs one fuzzer for SECONDS on a scratch copy of its committed corpus, so that a short
# run in the test command starts from everything found before and writes nothing into
# the source tree. A crash, leak or sanitizer report fails the test; the input that
# caused it is left in WORK.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
file(GLOB seeds ${CORPUS}/*)
if(seeds)
  file(COPY ${seeds} DESTINATION ${WORK}/corpus)
endif()
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/corpus
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
string(REGEX MATCH "#[0-9]+[ \t]+DONE[^\n]*" summary "${output}")
message(STATUS "${summary}")
if(NOT status EQUAL 0)
  message("${output}")
  message(FATAL_ERROR "The fuzzer found a fault; its input is in ${WORK}")
endif()
