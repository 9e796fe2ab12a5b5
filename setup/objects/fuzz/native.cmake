# The uninstaller's portable part: the rules over a log, the log's parser and the report
# text. The parser's digests come from the engine's portable library (the file digest).
add_portable_library(uninstaller_rules
  SOURCES ${TOP}/setup/objects/UninstallRules.cpp ${TOP}/setup/objects/UninstallLogFormat.cpp
          ${TOP}/setup/objects/UninstallReportText.cpp
  LIBS fw_core_portable setup_build_portable)
target_include_directories(uninstaller_rules PUBLIC ${TOP}/setup)
add_portable_fuzzer(uninstall_rules_fuzz SOURCES ${TOP}/setup/objects/fuzz/UninstallRulesFuzz.cpp
                    LIBS uninstaller_rules CORPUS ${TOP}/setup/objects/fuzz/corpus/uninstall_rules_fuzz)
add_portable_fuzzer(uninstall_log_fuzz SOURCES ${TOP}/setup/objects/fuzz/UninstallLogFuzz.cpp
                    LIBS uninstaller_rules CORPUS ${TOP}/setup/objects/fuzz/corpus/uninstall_log_fuzz)
