# The uninstaller's rules over its log: what may be deleted, and the log's entries.
add_portable_library(uninstaller_rules SOURCES ${TOP}/external/uninstaller/UninstallRules.cpp)
target_include_directories(uninstaller_rules PUBLIC ${TOP}/external/uninstaller)
add_portable_tests(uninstaller_rules_tests SOURCES ${TOP}/external/uninstaller/tests/UninstallRulesTests.cpp
                   ${TOP}/external/uninstaller/tests/HostileLogRulesTests.cpp
                   LIBS uninstaller_rules)
add_portable_fuzzer(uninstall_rules_fuzz SOURCES ${TOP}/external/uninstaller/fuzz/UninstallRulesFuzz.cpp
                    LIBS uninstaller_rules CORPUS ${TOP}/external/uninstaller/fuzz/corpus/uninstall_rules_fuzz)
