# Test programs of package/.

# Cabinets made with gcab at build time, as the driver package is.
set(test_cabinets ${CMAKE_CURRENT_BINARY_DIR}/cabinets)
add_custom_command(
    OUTPUT ${test_cabinets}/good.cab ${test_cabinets}/flat.cab ${test_cabinets}/damaged.cab
           ${test_cabinets}/truncated.cab ${test_cabinets}/empty.cab
    COMMAND ${CMAKE_COMMAND} -DDIR=${test_cabinets} -P ${CMAKE_CURRENT_SOURCE_DIR}/package/MakeCabinets.cmake
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/package/MakeCabinets.cmake
    COMMENT "Making the test cabinets"
    VERBATIM)
# Cabinets with entry names that lead out of the destination.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(hostile_cabinets ${CMAKE_CURRENT_BINARY_DIR}/hostile-cabinets)
add_custom_command(
    OUTPUT ${hostile_cabinets}/parent.cab
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/package/MakeHostileCabinets.py ${hostile_cabinets}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/package/MakeHostileCabinets.py
    COMMENT "Making the hostile test cabinets"
    VERBATIM)
add_custom_target(test_cabinets DEPENDS ${test_cabinets}/good.cab ${hostile_cabinets}/parent.cab)

# Stands in for devcon where a test needs a program of its own.
add_executable(command_probe package/CommandProbe.cpp)
target_link_libraries(command_probe PRIVATE tavrin_settings)
target_link_options(command_probe PRIVATE -municode)

tavrin_wine_path(cabinets_path "${test_cabinets}")
tavrin_wine_path(hostile_cabinets_path "${hostile_cabinets}")
# The probe lands beside the test programs.
tavrin_wine_path(probe_path "${CMAKE_CURRENT_BINARY_DIR}/command_probe.exe")
tavrin_add_test(package_tests
    SOURCES package/CabFileTest.cpp package/DeviceCommandTest.cpp package/DriverPackageTest.cpp
            package/NewFileTest.cpp package/WorkFolderTest.cpp
    ENVIRONMENT "TAVRIN_TEST_CABINETS=${cabinets_path};TAVRIN_HOSTILE_CABINETS=${hostile_cabinets_path}"
                "TAVRIN_COMMAND_PROBE=${probe_path}")
add_dependencies(package_tests test_cabinets command_probe)
