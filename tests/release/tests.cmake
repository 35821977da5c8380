# The shipped executables of both builds, read as files, and the symbols files
# beside them. The other builds live next to this one (scripts/build.sh makes
# both, configured alike).
set(TAVRIN_I686_SETUP "${CMAKE_BINARY_DIR}/../i686/setup.exe" CACHE FILEPATH "32-bit setup.exe the release tests read")
get_filename_component(i686_setup "${TAVRIN_I686_SETUP}" ABSOLUTE)
tavrin_wine_path(x86_setup_path "${i686_setup}")
tavrin_wine_path(x86_symbols_path "${i686_setup}.debug")
if(TAVRIN_ARCH STREQUAL "amd64")
    tavrin_wine_path(x64_setup_path "$<TARGET_FILE:setup>")
    tavrin_wine_path(x64_symbols_path "${CMAKE_BINARY_DIR}/${TAVRIN_SETUP_SYMBOLS}")
else()
    get_filename_component(x64_build "${CMAKE_BINARY_DIR}/../x86_64" ABSOLUTE)
    tavrin_wine_path(x64_setup_path "${x64_build}/setup.exe")
    tavrin_wine_path(x64_symbols_path "${x64_build}/setup64.exe.debug")
endif()
# The symbols files, and the checkout (as the build machine spells it), which
# they must not name.
set(symbols_environment "TAVRIN_SYMBOLS_X86=${x86_symbols_path}" "TAVRIN_SYMBOLS_X64=${x64_symbols_path}"
    "TAVRIN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
# The entries the shipped driver package is packed from, in packing order and
# named as in the cabinet, separated by "|".
get_target_property(package_entries ${TAVRIN_SHIPPED_PACKAGE} TAVRIN_CABINET_ENTRIES)
string(REPLACE "/" "\\" package_entries "${package_entries}")
string(REPLACE ";" "|" package_entries "${package_entries}")
tavrin_add_test(release_tests SOURCES release/ReleaseTest.cpp release/PeImage.cpp
    ENVIRONMENT "TAVRIN_SETUP_X86=${x86_setup_path};TAVRIN_SETUP_X64=${x64_setup_path};TAVRIN_PACKAGE_ENTRIES=${package_entries}"
                ${symbols_environment})
add_dependencies(release_tests setup)

# Both executables signed with a certificate made for the run
# (release/sign-release.sh through scripts/sign.sh), then read as above and
# through Windows' crypto API. In the 64-bit build only: signing runs on Linux,
# and the 32-bit suite reads the same files.
if(TAVRIN_ARCH STREQUAL "amd64")
    set(signed_folder "${CMAKE_CURRENT_BINARY_DIR}/signed-release")
    set(sign_url "https://example.com/tavrin")
    add_test(NAME release_signing
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release/sign-release.sh ${signed_folder} ${i686_setup} $<TARGET_FILE:setup> ${sign_url})
    set_tests_properties(release_signing PROPERTIES FIXTURES_SETUP signed_release)
    tavrin_wine_path(signed_path "${signed_folder}")
    tavrin_register_test(release_tests_signed release_tests ""
        "TAVRIN_SETUP_X86=${signed_path}\\setup.exe" "TAVRIN_SETUP_X64=${signed_path}\\setup64.exe"
        "TAVRIN_PACKAGE_ENTRIES=${package_entries}" ${symbols_environment})
    tavrin_add_test(signature_tests SOURCES release/SignatureTest.cpp LIBS crypt32 wintrust
        ENVIRONMENT "TAVRIN_SIGNED_FOLDER=${signed_path}" "TAVRIN_SIGN_URL=${sign_url}")
    set_tests_properties(release_tests_signed signature_tests PROPERTIES FIXTURES_REQUIRED signed_release)
endif()
