# Test programs of busy/.
tavrin_add_test(busy_tests SOURCES busy/SpinnerLayoutTest.cpp busy/SpinnerPaintTest.cpp busy/BusyIndicatorTest.cpp)
