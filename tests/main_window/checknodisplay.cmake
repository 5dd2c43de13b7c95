# Starts the program where no display can be opened and checks that it says
# so in one line on standard error and fails, instead of aborting.
#   cmake -DPROGRAM=<kaldora> -DDISPLAY_VALUE=<value or empty> -P checknodisplay.cmake
if(DISPLAY_VALUE STREQUAL "")
    set(display --unset=DISPLAY)
else()
    set(display DISPLAY=${DISPLAY_VALUE})
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM ${display}
            ${PROGRAM}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors
    TIMEOUT 30
)
if(NOT result MATCHES "^[0-9]+$")
    message(FATAL_ERROR "the program did not exit normally: ${result}\n${errors}")
endif()
if(result EQUAL 0)
    message(FATAL_ERROR "the program reported success without a display")
endif()
string(STRIP "${errors}" errors)
if(NOT errors MATCHES "^kaldora: [^\n]*(display|DISPLAY)[^\n]*$")
    message(FATAL_ERROR "expected one line naming the display, got:\n${errors}")
endif()
if(NOT output STREQUAL "")
    message(FATAL_ERROR "unexpected output:\n${output}")
endif()
message(STATUS "exit code ${result}: ${errors}")
