# Installing: tovra.exe and the runtime library side by side in bin (the
# program loads the library from its own directory, so it needs neither an
# RPATH nor an environment variable), a desktop entry, and the icon in the
# hicolor theme.
include(GNUInstallDirs)

install(TARGETS tovra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kelto LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR})

# The icon's PNG files, drawn by the program's own icon code at build time.
set(KC_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(KC_ICON_SIZES 16 32 48)
list(TRANSFORM KC_ICON_SIZES PREPEND ${KC_ICON_DIR}/ OUTPUT_VARIABLE kc_icon_files)
list(TRANSFORM kc_icon_files APPEND .png)
add_custom_command(
    OUTPUT ${kc_icon_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KC_ICON_DIR}
    COMMAND write_icon_png ${KC_ICON_DIR}
    DEPENDS write_icon_png
    COMMENT "Drawing the icon theme's PNG files"
    VERBATIM)
add_custom_target(icon_png ALL DEPENDS ${kc_icon_files})

foreach(size IN LISTS KC_ICON_SIZES)
    install(FILES ${KC_ICON_DIR}/${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME keltoconnect.png)
endforeach()

# The desktop entry names the installed program by its absolute path, so it
# is written at install time, when the prefix (also one given to
# `cmake --install --prefix`) is known.
install(CODE "
    set(KC_DESKTOP_IN \"${CMAKE_SOURCE_DIR}/packaging/keltoconnect.desktop.in\")
    set(KC_DESKTOP_OUT \"${CMAKE_BINARY_DIR}/packaging/keltoconnect.desktop\")
    set(KC_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(KC_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install_desktop_entry.cmake)
