# The uninstall rules', the log parser's and the report text's tests, natively (the
# library and its fuzzers: setup/objects/fuzz).
add_portable_tests(uninstaller_rules_tests SOURCES ${TOP}/external/uninstaller/tests/UninstallRulesTests.cpp
                   ${TOP}/external/uninstaller/tests/HostileLogRulesTests.cpp
                   ${TOP}/external/uninstaller/tests/UninstallLogFormatTests.cpp
                   ${TOP}/external/uninstaller/tests/UninstallReportTextTests.cpp
                   LIBS uninstaller_rules)
