# The language table parser, with every entry used as a format and as a memo.
add_portable_fuzzer(language_table_fuzz SOURCES ${TOP}/setup/support/fuzz/LanguageTableFuzz.cpp LIBS setup_portable
                    CORPUS ${TOP}/setup/support/fuzz/corpus/language_table_fuzz)

# The remote file list "filelist.lst".
add_portable_library(setup_filelist_portable SOURCES ${TOP}/setup/support/FileListFormat.cpp LIBS setup_portable)
add_portable_tests(filelist_portable_tests
  SOURCES ${TOP}/setup/support/tests/FileListFormatTests.cpp
  LIBS setup_filelist_portable)
add_portable_fuzzer(file_list_fuzz SOURCES ${TOP}/setup/support/fuzz/FileListFuzz.cpp LIBS setup_filelist_portable
                    CORPUS ${TOP}/setup/support/fuzz/corpus/file_list_fuzz)
