# The language table parser, with every entry used as a format and as a memo.
add_portable_fuzzer(language_table_fuzz SOURCES ${TOP}/setup/support/fuzz/LanguageTableFuzz.cpp LIBS setup_portable
                    CORPUS ${TOP}/setup/support/fuzz/corpus/language_table_fuzz)
