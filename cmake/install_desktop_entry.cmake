# Install-time part of install.cmake: writes the desktop entry with the
# absolute path of the installed program and installs it. Expects
# KC_DESKTOP_IN, KC_DESKTOP_OUT, KC_BINDIR and KC_DATADIR.

# A desktop entry's Exec value: the program's path as one argument, quoted
# when it holds a character that the Exec syntax reserves. Inside quotes ",
# `, $ and \ take a backslash; then the value's own escaping doubles every
# backslash, and % is doubled so that it is not read as a field code.
function(kc_desktop_exec_arg path out)
    if(path MATCHES "[\n\r\t]")
        message(FATAL_ERROR "Cannot name ${path} in a desktop entry: it holds a control character")
    endif()
    set(arg "${path}")
    if(arg MATCHES "[] \"'\\\\><~|&;$*?#()`[]")
        string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" arg "${arg}")
        set(arg "\"${arg}\"")
    endif()
    string(REPLACE "\\" "\\\\" arg "${arg}")
    string(REPLACE "%" "%%" arg "${arg}")
    set(${out} "${arg}" PARENT_SCOPE)
endfunction()

# A plain string value: only the backslash is escaped.
function(kc_desktop_string value out)
    if(value MATCHES "[\n\r\t]")
        message(FATAL_ERROR "Cannot name ${value} in a desktop entry: it holds a control character")
    endif()
    string(REPLACE "\\" "\\\\" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

# An absolute directory under the prefix, without a trailing slash; an
# absolute dir stays as it is.
function(kc_install_dir dir out)
    cmake_path(APPEND CMAKE_INSTALL_PREFIX "${dir}" OUTPUT_VARIABLE path)
    cmake_path(ABSOLUTE_PATH path NORMALIZE)
    string(REGEX REPLACE "(.)/+$" "\\1" path "${path}")
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

kc_install_dir("${KC_BINDIR}" kc_bin)
kc_install_dir("${KC_DATADIR}/applications" kc_applications)

kc_desktop_exec_arg("${kc_bin}/tovra.exe" KC_DESKTOP_EXEC)
kc_desktop_string("${kc_bin}" KC_DESKTOP_PATH)
configure_file("${KC_DESKTOP_IN}" "${KC_DESKTOP_OUT}" @ONLY)
file(INSTALL DESTINATION "${kc_applications}" TYPE FILE FILES "${KC_DESKTOP_OUT}")
