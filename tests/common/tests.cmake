tavrin_add_test(common_tests SOURCES common/TraceLogTest.cpp)
