# The shipped executables of both builds, read as files. The other builds live
# next to this one (scripts/build.sh makes both, configured alike).
set(TAVRIN_I686_SETUP "${CMAKE_BINARY_DIR}/../i686/setup.exe" CACHE FILEPATH "32-bit setup.exe the release tests read")
get_filename_component(i686_setup "${TAVRIN_I686_SETUP}" ABSOLUTE)
tavrin_wine_path(x86_setup_path "${i686_setup}")
if(TAVRIN_ARCH STREQUAL "amd64")
    tavrin_wine_path(x64_setup_path "$<TARGET_FILE:setup>")
else()
    get_filename_component(x64_setup "${CMAKE_BINARY_DIR}/../x86_64/setup.exe" ABSOLUTE)
    tavrin_wine_path(x64_setup_path "${x64_setup}")
endif()
# The entries the shipped driver package is packed from, in packing order and
# named as in the cabinet, separated by "|".
get_target_property(package_entries ${TAVRIN_SHIPPED_PACKAGE} TAVRIN_CABINET_ENTRIES)
string(REPLACE "/" "\\" package_entries "${package_entries}")
string(REPLACE ";" "|" package_entries "${package_entries}")
tavrin_add_test(release_tests SOURCES release/ReleaseTest.cpp release/PeImage.cpp
    ENVIRONMENT "TAVRIN_SETUP_X86=${x86_setup_path};TAVRIN_SETUP_X64=${x64_setup_path};TAVRIN_PACKAGE_ENTRIES=${package_entries}")
add_dependencies(release_tests setup)
