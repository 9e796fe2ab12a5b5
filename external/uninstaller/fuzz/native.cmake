# The uninstall rules' tests, natively (the rules and their fuzzer: setup/objects/fuzz).
add_portable_tests(uninstaller_rules_tests SOURCES ${TOP}/external/uninstaller/tests/UninstallRulesTests.cpp
                   ${TOP}/external/uninstaller/tests/HostileLogRulesTests.cpp
                   LIBS uninstaller_rules)
