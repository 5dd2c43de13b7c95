# Runs each command of a list with HOME and XDG_DATA_HOME at an empty folder,
# as a user runs a test program by hand, and fails when a command fails or
# leaves anything in that folder.
#   cmake -DCOMMANDS=<file, one command a line, fields split by |>
#         -DWORK=<folder of the check's own> -P checkprivatehome.cmake
# In a command, @SCRATCH@ names a folder outside the home for files the
# command is asked to write.
cmake_minimum_required(VERSION 3.25)

set(home ${WORK}/home)
set(scratch ${WORK}/scratch)
# Long enough for the slowest program on a busy machine; a program that
# takes longer is reported as failing.
set(program_timeout 900)

# The other folders of the XDG rules are left unset, so that they default
# to places inside the home and are watched too.
set(environment
    --unset=XDG_CONFIG_HOME --unset=XDG_CACHE_HOME --unset=XDG_STATE_HOME
    "HOME=${home}" "XDG_DATA_HOME=${home}"
    QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8)

file(STRINGS "${COMMANDS}" commands)
set(failures)
foreach(line IN LISTS commands)
    file(REMOVE_RECURSE "${WORK}")
    file(MAKE_DIRECTORY "${home}" "${scratch}")
    string(REPLACE "@SCRATCH@" "${scratch}" line "${line}")
    string(REPLACE "|" ";" command "${line}")
    list(JOIN command " " shown)
    message(STATUS "running ${shown}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${environment} ${command}
        WORKING_DIRECTORY "${scratch}"
        RESULT_VARIABLE result
        OUTPUT_VARIABLE output
        ERROR_VARIABLE output
        TIMEOUT ${program_timeout}
    )
    if(NOT result STREQUAL "0")
        string(LENGTH "${output}" length)
        if(length GREATER 3000)
            math(EXPR start "${length} - 3000")
            string(SUBSTRING "${output}" ${start} -1 output)
        endif()
        message("${output}")
        list(APPEND failures "${shown}: failed (${result})")
    endif()
    file(GLOB_RECURSE left RELATIVE "${home}" LIST_DIRECTORIES true "${home}/*")
    if(left)
        list(JOIN left ", " left)
        list(APPEND failures "${shown}: left in the home: ${left}")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")

list(LENGTH commands count)
if(failures)
    list(JOIN failures "\n  " failures)
    message(FATAL_ERROR "private-home check:\n  ${failures}")
endif()
message(STATUS "private-home check: ${count} commands, the home stayed empty")
