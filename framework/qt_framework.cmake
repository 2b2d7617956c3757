# The window-system half of the framework, on Qt 6 Widgets. Qt stays inside:
# the public headers name no Qt type, and Qt is linked privately.
add_library(framework STATIC
    button.cpp
    cmd_target.cpp
    combo_box.cpp
    dialog.cpp
    dialog_template.cpp
    edit.cpp
    gdi.cpp
    menu.cpp
    message_box_ui.cpp
    resources.cpp
    slider_ctrl.cpp
    win_app.cpp
    wnd.cpp
    qt/dialog_builder.cpp
    qt/dialog_window.cpp
    qt/main_thread.cpp
    qt/widgets.cpp
)
target_link_libraries(framework PUBLIC framework_core PRIVATE Qt6::Widgets)

# The program's entry, main(): runs the one CWinApp object.
add_library(framework_main STATIC app_main.cpp)
target_link_libraries(framework_main PUBLIC framework)
