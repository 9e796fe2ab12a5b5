# The framework's portable half: its tests, and fuzzers of the form-description parser,
# the form loader and the formatter.
set(core_fuzz ${TOP}/framework/core/fuzz)

add_portable_fuzzer(form_text_fuzz SOURCES ${core_fuzz}/FormTextFuzz.cpp LIBS fw_core_portable
                    CORPUS ${core_fuzz}/corpus/form_text_fuzz)
add_portable_fuzzer(form_loader_fuzz SOURCES ${core_fuzz}/FormLoaderFuzz.cpp ${core_fuzz}/LoaderFuzzClasses.cpp
                    LIBS fw_core_portable CORPUS ${core_fuzz}/corpus/form_loader_fuzz)
add_portable_fuzzer(format_fuzz SOURCES ${core_fuzz}/FormatFuzz.cpp LIBS fw_core_portable
                    CORPUS ${core_fuzz}/corpus/format_fuzz)

# The check of bitmap files that GDI is handed, portable although it lives with the
# Windows half of the framework.
add_portable_library(fw_bitmap_portable SOURCES ${TOP}/framework/gui/BitmapFormat.cpp LIBS fw_core_portable)
add_portable_tests(bitmap_format_tests SOURCES ${TOP}/framework/tests/BitmapFormatTests.cpp LIBS fw_bitmap_portable)
add_portable_fuzzer(bitmap_format_fuzz SOURCES ${core_fuzz}/BitmapFormatFuzz.cpp LIBS fw_bitmap_portable
                    CORPUS ${core_fuzz}/corpus/bitmap_format_fuzz)
