# Script mode: cmake -DCABINET=<file> -DENTRIES=<a;b;...> -P CheckCabinet.cmake
# Fails unless the cabinet is intact and holds exactly the given entries,
# named with backslashes as setup.exe's extraction expects them.
foreach(var CABINET ENTRIES)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "CheckCabinet.cmake needs -D${var}=...")
    endif()
endforeach()

execute_process(COMMAND gcab -t "${CABINET}"
    OUTPUT_VARIABLE listing ERROR_VARIABLE listing_error RESULT_VARIABLE listed)
if(NOT listed EQUAL 0)
    message(FATAL_ERROR "Cannot list the driver package ${CABINET}: ${listing_error}")
endif()
# Compared with "/" below, since CMake lists and backslashes do not mix.
string(FIND "${listing}" "/" slash)
if(NOT slash EQUAL -1)
    message(FATAL_ERROR "The driver package ${CABINET} names entries with \"/\":\n${listing}")
endif()
string(REPLACE "\\" "/" listing "${listing}")
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" found "${listing}")
set(expected ${ENTRIES})
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
    string(REPLACE ";" "\n  " found_text "${found}")
    string(REPLACE ";" "\n  " expected_text "${expected}")
    message(FATAL_ERROR "The driver package ${CABINET} holds\n  ${found_text}\n"
                        "but must hold exactly\n  ${expected_text}")
endif()

# Each entry decompresses and matches its checksum.
execute_process(COMMAND cabextract -q -t "${CABINET}"
    OUTPUT_VARIABLE test_output ERROR_VARIABLE test_output RESULT_VARIABLE tested)
if(NOT tested EQUAL 0)
    message(FATAL_ERROR "The driver package ${CABINET} is damaged:\n${test_output}")
endif()
