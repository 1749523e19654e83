# voldar_add_test(<name> SOURCES <files...> LIBS <targets...>
#                 [OFFSCREEN | XVFB] [LABELS <labels...>] [TIMEOUT <seconds>])
#
# Builds one QtTest executable and registers it with CTest. Tests run with a
# pinned locale so that number formatting never depends on the machine.
#   OFFSCREEN  widget test on Qt's offscreen platform (no display needed)
#   XVFB       needs a real X display; the test command starts Xvfb and
#              exports DISPLAY before running CTest
function(voldar_add_test name)
    cmake_parse_arguments(T "OFFSCREEN;XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})

    set(env "LANG=C.UTF-8" "LC_ALL=C.UTF-8" "QT_QPA_PLATFORMTHEME=")
    set(labels ${T_LABELS})
    if(T_OFFSCREEN)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
        list(APPEND labels offscreen)
    elseif(T_XVFB)
        list(APPEND env "QT_QPA_PLATFORM=xcb")
        list(APPEND labels xvfb)
    else()
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
        list(APPEND labels unit)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${env}" LABELS "${labels}" TIMEOUT ${T_TIMEOUT})
endfunction()
