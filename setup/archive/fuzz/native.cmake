# The archive's reading side natively: header tables and their chains, the identifier
# index, volume sets, extraction into memory, dates and the overwrite decision.
add_portable_library(setup_archive_portable
  SOURCES
    ${TOP}/setup/archive/ArchiveText.cpp
    ${TOP}/setup/archive/FileHeader.cpp
    ${TOP}/setup/archive/ArchiveReader.cpp
    ${TOP}/setup/archive/ZlibStream.cpp
    ${TOP}/setup/archive/OverwriteDecision.cpp
    ${TOP}/setup/support/PathStrings.cpp
  LIBS setup_portable ZLIB::ZLIB)
target_include_directories(setup_archive_portable PUBLIC ${TOP}/setup/archive ${TOP}/setup/archive/tests)

add_portable_tests(archive_portable_tests
  SOURCES ${TOP}/setup/archive/tests/ReadingTests.cpp
  LIBS setup_archive_portable)

add_portable_fuzzer(archive_fuzz
  SOURCES ${TOP}/setup/archive/fuzz/ArchiveFuzz.cpp
  LIBS setup_archive_portable
  CORPUS ${TOP}/setup/archive/fuzz/corpus/archive_fuzz)

add_portable_fuzzer(version_compare_fuzz
  SOURCES ${TOP}/setup/archive/fuzz/VersionCompareFuzz.cpp
  LIBS setup_archive_portable
  CORPUS ${TOP}/setup/archive/fuzz/corpus/version_compare_fuzz)
