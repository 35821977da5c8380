tavrin_add_test(app_tests SOURCES app/MainDlgTest.cpp LOCKS devices LANGUAGES en zh)
