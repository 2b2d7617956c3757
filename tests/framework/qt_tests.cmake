# Widget tests of the framework, on Qt's offscreen platform.

# The main and helpers of every GoogleTest program that needs windows.
add_library(qt_test_main OBJECT qt_test_main.cpp qt_test_support.cpp)
target_link_libraries(qt_test_main PUBLIC framework Qt6::Widgets Qt6::Test GTest::gtest)

add_executable(framework_demo_app demo_app.cpp)
set_target_properties(framework_demo_app PROPERTIES OUTPUT_NAME framework_demo_app.exe)
target_link_libraries(framework_demo_app PRIVATE framework_main)

kc_add_gtest(framework_qt_test
    SOURCES app_test.cpp controls_test.cpp demo_dialog.cpp dialog_test.cpp threads_test.cpp
    LIBS qt_test_main framework Qt6::Widgets Qt6::Test)
add_dependencies(framework_qt_test framework_demo_app)
