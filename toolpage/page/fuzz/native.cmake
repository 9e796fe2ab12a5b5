# The page's portable units: the console-script format and the start-up file line update.
add_portable_library(toolpage_page_portable
  SOURCES
    ${TOP}/toolpage/page/NcfLines.cpp
    ${TOP}/toolpage/page/ScriptFormat.cpp
    ${TOP}/toolpage/page/ScriptNames.cpp
    ${TOP}/toolpage/page/ScrListRules.cpp
  LIBS fw_core_portable)
target_include_directories(toolpage_page_portable PUBLIC ${TOP}/toolpage/page)

add_portable_tests(page_portable_tests
  SOURCES ${TOP}/toolpage/page/tests/ScriptFormatTests.cpp
    ${TOP}/toolpage/page/tests/NcfLineTests.cpp
    ${TOP}/toolpage/page/tests/ScriptNameTests.cpp
    ${TOP}/toolpage/page/tests/ScrListRulesTests.cpp
  LIBS toolpage_page_portable)

add_portable_fuzzer(oks_script_fuzz
  SOURCES ${TOP}/toolpage/page/fuzz/OksScriptFuzz.cpp
  LIBS toolpage_page_portable
  CORPUS ${TOP}/toolpage/page/fuzz/corpus/oks_script_fuzz)

add_portable_fuzzer(ncf_line_update_fuzz
  SOURCES ${TOP}/toolpage/page/fuzz/NcfLineUpdateFuzz.cpp
  LIBS toolpage_page_portable
  CORPUS ${TOP}/toolpage/page/fuzz/corpus/ncf_line_update_fuzz)

add_portable_fuzzer(new_script_name_fuzz
  SOURCES ${TOP}/toolpage/page/fuzz/NewScriptNameFuzz.cpp
  LIBS toolpage_page_portable
  CORPUS ${TOP}/toolpage/page/fuzz/corpus/new_script_name_fuzz)
