# Compiler warnings, set on each of the project's own targets rather than on
# the whole directory tree, so that nothing built from elsewhere inherits them.
option(KALDORA_WERROR "Treat compiler warnings as errors" OFF)

set(kaldora_warning_flags -Wall -Wextra -Wpedantic)
if(KALDORA_WERROR)
    list(APPEND kaldora_warning_flags -Werror)
endif()

# Gives every target that compiles sources below `dir` the warning flags.
function(kaldora_set_warnings dir)
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            target_compile_options(${target} PRIVATE ${kaldora_warning_flags})
        endif()
    endforeach()
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        kaldora_set_warnings("${subdir}")
    endforeach()
endfunction()
