# Test programs of install/.

# The install and uninstall commands with the stand-in package: real devices.
tavrin_wine_path(probe_path "${CMAKE_CURRENT_BINARY_DIR}/command_probe.exe")
tavrin_add_test(install_tests
    SOURCES install/InstallCommandTest.cpp install/PortDlgTest.cpp install/UninstallCommandTest.cpp
            install/WaitDialogTest.cpp install/InstallTestSupport.cpp install/MainWindowTest.cpp
            install/ParallelNamesTaken.cpp install/ThreadCreation.cpp
    LIBS portdevice
    LOCKS devices
    ENVIRONMENT "TAVRIN_COMMAND_PROBE=${probe_path}")
add_dependencies(install_tests command_probe)

# A package whose devcon is the probe: the exact command lines, the folders
# they run in and their environment.
set(probe_package ${CMAKE_CURRENT_BINARY_DIR}/probe-package)
set(probe_entries x86/devcon.exe amd64/devcon.exe Tavrin.inf)
list(TRANSFORM probe_entries PREPEND ${probe_package}/files/ OUTPUT_VARIABLE probe_files)
add_custom_command(OUTPUT ${probe_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${probe_package}/files/x86 ${probe_package}/files/amd64
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_BINARY_DIR}/command_probe.exe ${probe_package}/files/x86/devcon.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_BINARY_DIR}/command_probe.exe ${probe_package}/files/amd64/devcon.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/res/package/Tavrin.inf ${probe_package}/files/Tavrin.inf
    DEPENDS command_probe ${CMAKE_SOURCE_DIR}/res/package/Tavrin.inf
    VERBATIM)
tavrin_pack_cabinet(probe_package ${probe_package} ${probe_package}/files "${probe_entries}" "${probe_files}")
tavrin_add_resources(tavrin_resources_probe_package probe_package)
tavrin_add_test(install_command_line_tests
    SOURCES install/CommandLineTest.cpp install/InstallTestSupport.cpp install/MainWindowTest.cpp
    LIBS portdevice
    LOCKS devices
    RESOURCES tavrin_resources_probe_package)

# An executable without a package: both commands end silently, and a restart
# that needs the package's devcon fails.
tavrin_add_resources(tavrin_resources_without_package "")
tavrin_add_test(install_without_package_tests
    SOURCES install/WithoutPackageTest.cpp install/InstallTestSupport.cpp install/MainWindowTest.cpp
    LIBS portdevice
    LOCKS devices
    RESOURCES tavrin_resources_without_package)

# The real setup.exe, driven from outside through its windows. It holds the
# stand-in package only when no vendor package is shipped.
if(NOT TAVRIN_VENDOR_PACKAGE)
    tavrin_wine_path(setup_path "${TAVRIN_TESTED_SETUP}")
    tavrin_add_test(setup_end_to_end_tests
        SOURCES install/SetupEndToEndTest.cpp install/SetupSession.cpp install/InstallTestSupport.cpp
        LIBS portdevice
        LOCKS devices
        ENVIRONMENT "TAVRIN_SETUP=${setup_path}")
    add_dependencies(setup_end_to_end_tests setup)
    # Its case under the ANSI code page 65001, which Wine takes from the Unix locale.
    tavrin_register_test(setup_end_to_end_tests_utf8 setup_end_to_end_tests devices "TAVRIN_SETUP=${setup_path}"
        "LC_ALL=hi_IN.UTF-8" "GTEST_FILTER=SetupTemporaryDirectoryTest.OfChineseNamesUnderTheUtf8AnsiCodePage")
    # Install and uninstall rounds in one setup.exe. A round starts devcon four
    # times and takes a second or more under Wine; TAVRIN_LONG_RUN_CYCLES=<n>
    # in the environment of ctest sets fewer rounds than the 200 of a full run.
    tavrin_add_test(setup_long_run_tests
        SOURCES install/SetupLongRunTest.cpp install/SetupSession.cpp install/InstallTestSupport.cpp
        LIBS portdevice
        LOCKS devices
        ENVIRONMENT "TAVRIN_SETUP=${setup_path}")
    add_dependencies(setup_long_run_tests setup)
    # Twice its slowest measured run, and the room for a hang's report: 227 s
    # for the 50 rounds on emulated 32-bit Windows under a load of about 5
    # (the 200 rounds of the 64-bit run took 183 s, the 50 under WoW64 68 s).
    math(EXPR long_run_timeout "2 * 227 + ${TAVRIN_HANG_REPORT_SECONDS}")
    # Started first: the longest test, and it holds the devices lock throughout.
    set_tests_properties(setup_long_run_tests PROPERTIES TIMEOUT ${long_run_timeout} COST 10000)
endif()

# Both commands with each platform call they make failing in turn.
tavrin_add_test(fault_injection_tests
    SOURCES install/FaultInjectionTest.cpp install/InstallTestSupport.cpp install/MainWindowTest.cpp
            install/ThreadCreation.cpp
    LIBS portdevice
    LOCKS devices)
