# Test programs of ports/.
tavrin_add_test(free_port_name_list_tests SOURCES ports/FreePortNameListTest.cpp)
tavrin_add_test(chg_port_dlg_tests
    SOURCES ports/ChgPortDlgTest.cpp ports/ChgPortDlgModelTest.cpp ports/FreeNamesModel.cpp ports/PortMapOverride.cpp
    LOCKS devices)
tavrin_add_test(port_rename_tests SOURCES ports/PortRenameTest.cpp ports/PortMapOverride.cpp LIBS portdevice LOCKS devices)
tavrin_add_test(ports_tests SOURCES ports/RegistryKeyTest.cpp ports/PortListTest.cpp LOCKS devices)
# Randomized cases against models written in the tests.
tavrin_add_test(port_model_tests
    SOURCES ports/RegistryKeyModelTest.cpp ports/FreePortNameListModelTest.cpp ports/FreeNamesModel.cpp)
