# The page's portable NetWare units: error texts, path forms and the decoders of server replies.
add_portable_library(toolpage_netware_portable
  SOURCES
    ${TOP}/toolpage/netware/NcpReplies.cpp
    ${TOP}/toolpage/netware/NlmRegistry.cpp
    ${TOP}/toolpage/netware/NwErrorNames.cpp
    ${TOP}/toolpage/netware/NwErrors.cpp
    ${TOP}/toolpage/netware/NwTypes.cpp
    ${TOP}/toolpage/netware/SearchListing.cpp
    ${TOP}/toolpage/netware/SearchWire.cpp
    ${TOP}/toolpage/netware/ServerLoops.cpp
    ${TOP}/toolpage/netware/ServerPaths.cpp
  LIBS fw_core_portable)
target_include_directories(toolpage_netware_portable PUBLIC ${TOP}/toolpage/netware)

add_portable_tests(netware_portable_tests
  SOURCES ${TOP}/toolpage/netware/tests/NcpReplyTests.cpp
    ${TOP}/toolpage/netware/tests/NlmRegistryTests.cpp
    ${TOP}/toolpage/netware/tests/SearchWireTests.cpp
    ${TOP}/toolpage/netware/tests/ServerPathTests.cpp
  LIBS toolpage_netware_portable)

add_portable_fuzzer(ncp_reply_fuzz
  SOURCES ${TOP}/toolpage/netware/fuzz/NcpReplyFuzz.cpp
  LIBS toolpage_netware_portable
  CORPUS ${TOP}/toolpage/netware/fuzz/corpus/ncp_reply_fuzz)

add_portable_fuzzer(server_reply_fuzz
  SOURCES ${TOP}/toolpage/netware/fuzz/ServerReplyFuzz.cpp
  LIBS toolpage_netware_portable
  CORPUS ${TOP}/toolpage/netware/fuzz/corpus/server_reply_fuzz)

add_portable_fuzzer(server_loop_fuzz
  SOURCES ${TOP}/toolpage/netware/fuzz/ServerLoopFuzz.cpp
  LIBS toolpage_netware_portable
  CORPUS ${TOP}/toolpage/netware/fuzz/corpus/server_loop_fuzz)
