tavrin_add_test(ports_tests SOURCES ports/RegistryKeyTest.cpp ports/PortListTest.cpp LOCKS devices)
