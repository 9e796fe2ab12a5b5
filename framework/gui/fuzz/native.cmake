# The framework GUI's portable unit, the colour arithmetic, and its test.
add_portable_library(fw_gui_portable SOURCES ${TOP}/framework/gui/ColorMath.cpp)
target_include_directories(fw_gui_portable PUBLIC ${TOP}/framework)
add_portable_tests(fw_gui_portable_tests SOURCES ${TOP}/framework/tests/ColorMathTests.cpp LIBS fw_gui_portable)
