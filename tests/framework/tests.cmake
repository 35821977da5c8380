tavrin_add_test(framework_tests
    SOURCES
        framework/AppMessageBoxTest.cpp
        framework/DataExchangeTest.cpp
        framework/MessageMapTest.cpp
        framework/WaitCursorTest.cpp
        framework/WinThreadTest.cpp
    LANGUAGES en)
