tavrin_add_test(res_tests SOURCES res/ResourceTest.cpp LIBS version shlwapi LANGUAGES en zh)
