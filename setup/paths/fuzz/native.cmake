# The "%" expanders with the path and list helpers.
add_portable_fuzzer(meta_variables_fuzz SOURCES ${TOP}/setup/paths/fuzz/MetaVariablesFuzz.cpp LIBS setup_portable
                    CORPUS ${TOP}/setup/paths/fuzz/corpus/meta_variables_fuzz)
