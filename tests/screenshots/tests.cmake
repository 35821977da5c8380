# The picture tour of setup.exe that scripts/screenshots.sh runs once per
# language. Not a ctest test: it waits for the script to take each picture.
# It needs the stand-in package, whose devcon runs under Wine.
if(NOT TAVRIN_VENDOR_PACKAGE)
    add_executable(screenshot_tour
        screenshots/ScreenshotTour.cpp screenshots/ScreenCamera.cpp screenshots/SuspendedChild.cpp
        install/InstallTestSupport.cpp $<TARGET_OBJECTS:${TAVRIN_TEST_RESOURCES}>)
    target_link_libraries(screenshot_tour PRIVATE tavrin_test_support portdevice)
    add_dependencies(screenshot_tour setup)
    # The languages the tests run under, one a line: its name, then its environment.
    set(tour_languages "")
    foreach(language en zh)
        string(JOIN " " environment ${TAVRIN_LANGUAGE_${language}})
        string(APPEND tour_languages "${language} ${environment}\n")
    endforeach()
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/screenshot_languages.txt CONTENT "${tour_languages}")
endif()
