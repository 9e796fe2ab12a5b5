# The engine's portable units natively: the file digest, the self-extract record, the
# "BUILD.INF" line and the restart's unfinished-list line; their tests, fuzzers, and the
# digest's benchmark against OpenSSL.
add_portable_library(setup_build_portable
  SOURCES
    ${TOP}/setup/support/Sha0.cpp
    ${TOP}/setup/engine/SelfExtractRecord.cpp
    ${TOP}/setup/engine/BuildInfText.cpp
    ${TOP}/setup/engine/RestartCommands.cpp)
target_include_directories(setup_build_portable PUBLIC ${TOP}/setup)

add_portable_tests(build_portable_tests
  SOURCES ${TOP}/setup/support/tests/Sha0Tests.cpp ${TOP}/setup/engine/tests/BuildRecordTests.cpp
  LIBS setup_build_portable)

add_portable_fuzzer(self_extract_record_fuzz
  SOURCES ${TOP}/setup/engine/fuzz/SelfExtractRecordFuzz.cpp
  LIBS setup_build_portable
  CORPUS ${TOP}/setup/engine/fuzz/corpus/self_extract_record_fuzz)
add_portable_fuzzer(build_inf_fuzz
  SOURCES ${TOP}/setup/engine/fuzz/BuildInfFuzz.cpp
  LIBS setup_build_portable
  CORPUS ${TOP}/setup/engine/fuzz/corpus/build_inf_fuzz)
add_portable_fuzzer(unfinished_line_fuzz
  SOURCES ${TOP}/setup/engine/fuzz/UnfinishedLineFuzz.cpp
  LIBS setup_build_portable
  CORPUS ${TOP}/setup/engine/fuzz/corpus/unfinished_line_fuzz)
add_portable_fuzzer(sha0_fuzz
  SOURCES ${TOP}/setup/engine/fuzz/Sha0Fuzz.cpp
  LIBS setup_build_portable
  CORPUS ${TOP}/setup/engine/fuzz/corpus/sha0_fuzz)

# The digest over 256 MiB against OpenSSL's SHA-1, optimised and without the sanitizers;
# run by hand (see its header).
find_package(OpenSSL COMPONENTS Crypto)
if(OpenSSL_FOUND)
  add_executable(sha0_benchmark ${TOP}/setup/support/bench/Sha0Benchmark.cpp ${TOP}/setup/support/Sha0.cpp)
  set_property(TARGET sha0_benchmark PROPERTY COMPILE_OPTIONS -O2)
  set_property(TARGET sha0_benchmark PROPERTY LINK_OPTIONS "")
  target_include_directories(sha0_benchmark PRIVATE ${TOP}/setup)
  target_link_libraries(sha0_benchmark PRIVATE OpenSSL::Crypto)
endif()
