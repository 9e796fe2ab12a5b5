# The test support's portable part, the PNG writer, and its test that reads the images
# back with zlib.
add_portable_library(testsupport_portable SOURCES ${TOP}/testsupport/PngWriter.cpp LIBS ZLIB::ZLIB)
target_include_directories(testsupport_portable PUBLIC ${TOP}/testsupport)
add_portable_tests(testsupport_png_tests SOURCES ${TOP}/testsupport/tests/PngWriterTests.cpp LIBS testsupport_portable)
