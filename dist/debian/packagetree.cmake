# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the tree it is about to pack.
#
# The folders get the usual permissions whatever the umask of the build:
# CPack and the install rules make them with mkdir, which the umask cuts.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
set(folders)
foreach(entry IN LISTS entries)
    if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
        list(APPEND folders "${entry}")
    endif()
endforeach()
file(CHMOD ${folders} DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The stripped programs lose the compiler's version note (.comment) and the
# section .note, which nothing reads, as in Debian's own packages.
foreach(program IN LISTS CPACK_KALDORA_PROGRAMS)
    set(path "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${program}")
    execute_process(COMMAND "${CPACK_KALDORA_STRIP}" --remove-section=.comment
                            --remove-section=.note "${path}"
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "The notes of ${path} could not be stripped")
    endif()
endforeach()
