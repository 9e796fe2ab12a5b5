# The wizard's portable units (text layout, folder name rules) and their tests.
add_portable_library(wizard_portable
  SOURCES ${TOP}/setup/wizard/TextLayout.cpp ${TOP}/setup/wizard/FolderNameRules.cpp)
target_include_directories(wizard_portable PUBLIC ${TOP}/setup)
add_portable_tests(wizard_portable_tests
  SOURCES ${TOP}/setup/wizard/tests/TextLayoutTests.cpp ${TOP}/setup/wizard/tests/FolderNameRulesTests.cpp
  LIBS wizard_portable)
add_portable_fuzzer(caption_text_fuzz SOURCES ${TOP}/setup/wizard/fuzz/CaptionTextFuzz.cpp LIBS wizard_portable
                    CORPUS ${TOP}/setup/wizard/fuzz/corpus/caption_text_fuzz)
add_portable_fuzzer(folder_name_fuzz SOURCES ${TOP}/setup/wizard/fuzz/FolderNameFuzz.cpp LIBS wizard_portable
                    CORPUS ${TOP}/setup/wizard/fuzz/corpus/folder_name_fuzz)
