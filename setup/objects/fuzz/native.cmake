# The uninstall rules over a log: what may be deleted, and the log's entries.
add_portable_library(uninstaller_rules SOURCES ${TOP}/setup/objects/UninstallRules.cpp)
target_include_directories(uninstaller_rules PUBLIC ${TOP}/setup)
add_portable_fuzzer(uninstall_rules_fuzz SOURCES ${TOP}/setup/objects/fuzz/UninstallRulesFuzz.cpp
                    LIBS uninstaller_rules CORPUS ${TOP}/setup/objects/fuzz/corpus/uninstall_rules_fuzz)
