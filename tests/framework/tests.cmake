tavrin_add_test(framework_tests
    SOURCES
        framework/AppMessageBoxTest.cpp
        framework/DataExchangeTest.cpp
        framework/MessageMapTest.cpp
        framework/WaitCursorTest.cpp
        framework/WinThreadTest.cpp
    LANGUAGES en)

# The search restriction and the setup functions' binding, against a planted DLL that the build puts next to
# the test program.
add_library(tavrin_planted SHARED framework/PlantedDll.cpp)
set_target_properties(tavrin_planted PROPERTIES PREFIX "" OUTPUT_NAME tavrin_planted
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_options(tavrin_planted PRIVATE -static)
tavrin_add_test(dll_search_tests SOURCES framework/DllSearchTest.cpp framework/SetupApiTest.cpp)
add_dependencies(dll_search_tests tavrin_planted)
