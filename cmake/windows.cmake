# KALDORA as a Windows program: resources for the two programs, and what the
# installer and the portable zip hold besides them (Qt's and MinGW's DLLs,
# their licences). Included by the top-level CMakeLists.txt when building
# for Windows.

# The programs' resources are compiled by windres.
enable_language(RC)

set(KALDORA_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR}/../dist/windows)

# Built on Linux, the tests run under Wine (scripts/test-windows prepares its
# prefix, display and search paths).
if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run)
endif()

# Gives `target` (the program `name`.exe) the program's icon, a manifest and
# a version resource, all carrying the project's version.
function(kaldora_windows_resources target name description)
    set(KALDORA_RC_NAME ${name})
    set(KALDORA_RC_DESCRIPTION ${description})
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${name}-resources)
    set(KALDORA_RC_ICON ${KALDORA_WINDOWS_DIR}/kaldora.ico)
    set(KALDORA_RC_MANIFEST ${dir}/${name}.manifest)
    configure_file(${KALDORA_WINDOWS_DIR}/kaldora.manifest.in ${KALDORA_RC_MANIFEST} @ONLY)
    configure_file(${KALDORA_WINDOWS_DIR}/kaldora.rc.in ${dir}/${name}.rc @ONLY)
    target_sources(${target} PRIVATE ${dir}/${name}.rc)
    set_property(SOURCE ${dir}/${name}.rc APPEND PROPERTY OBJECT_DEPENDS
        ${KALDORA_RC_ICON} ${KALDORA_RC_MANIFEST})
endfunction()

# The DLLs the programs load, next to them in the installed folder: Qt's own
# (kept as DLLs, so that a user may replace them as Qt's licence allows),
# the plugins Qt looks for in the program's folder, and the MinGW run-time
# that Qt and the programs were built with.
function(kaldora_windows_runtime)
    set(qt ${QT6_INSTALL_PREFIX})
    foreach(module Core Gui Widgets Sql)
        install(FILES ${qt}/${QT6_INSTALL_BINS}/Qt6${module}.dll DESTINATION .)
    endforeach()
    foreach(plugin platforms/qwindows styles/qwindowsvistastyle sqldrivers/qsqlite)
        get_filename_component(folder ${plugin} DIRECTORY)
        install(FILES ${qt}/${QT6_INSTALL_PLUGINS}/${plugin}.dll DESTINATION ${folder})
    endforeach()
    # Debian's copies carry their debugging information (libstdc++ 23 MB of
    # its 27); the program ships them without it.
    set(stripped)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
            message(FATAL_ERROR "The MinGW run-time ${dll} was not found")
        endif()
        set(copy ${CMAKE_BINARY_DIR}/mingw-runtime/${dll})
        add_custom_command(OUTPUT ${copy}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/mingw-runtime
            COMMAND ${CMAKE_STRIP} --strip-debug -o ${copy} ${found}
            DEPENDS ${found}
            COMMENT "Stripping the MinGW run-time ${dll}"
            VERBATIM)
        list(APPEND stripped ${copy})
    endforeach()
    add_custom_target(mingw_runtime ALL DEPENDS ${stripped})
    install(FILES ${stripped} DESTINATION .)
    # The licences of what ships with the programs: Qt's (LGPL) and SQLite's
    # as the Qt build keeps them, MinGW's run-time and its threads library.
    install(DIRECTORY ${qt}/share/licenses/ DESTINATION licenses)
    foreach(package gcc-mingw-w64-base mingw-w64-common)
        if(EXISTS /usr/share/doc/${package}/copyright)
            install(FILES /usr/share/doc/${package}/copyright DESTINATION licenses
                RENAME ${package}.txt)
        endif()
    endforeach()
endfunction()

# The installer (NSIS, 64-bit) and the portable zip:
# kaldora-<version>-win64-setup.exe and kaldora-<version>-win64.zip.
function(kaldora_windows_package)
    set(CPACK_GENERATOR NSIS64 ZIP)
    set(CPACK_PACKAGE_NAME kaldora)
    set(CPACK_PACKAGE_VENDOR KALDORA)
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "KALDORA - mesecni racun za struju")
    set(CPACK_PACKAGE_FILE_NAME kaldora-${PROJECT_VERSION}-win64)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY KALDORA)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY KALDORA)
    set(CPACK_PACKAGE_EXECUTABLES kaldora KALDORA)
    set(CPACK_STRIP_FILES ON)
    # The stub is 64-bit, so it runs where the programs run and installs
    # into the 64-bit Program Files and registry.
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_NSIS_PACKAGE_NAME KALDORA)
    set(CPACK_NSIS_DISPLAY_NAME KALDORA)
    set(CPACK_NSIS_MUI_ICON ${KALDORA_WINDOWS_DIR}/kaldora.ico)
    set(CPACK_NSIS_MUI_UNIICON ${KALDORA_WINDOWS_DIR}/kaldora.ico)
    set(CPACK_NSIS_INSTALLED_ICON_NAME kaldora.exe)
    set(CPACK_NSIS_CONTACT "kaldora@kaldora.rs")
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    set(CPACK_NSIS_MODIFY_PATH OFF)
    set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
    # The installer gets its "-setup" name here, the zip keeps the plain one.
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows-cpack-names.cmake)
    include(CPack)
endfunction()

# The programs sit at the top of their folder, beside the DLLs, where
# Windows looks for a program's DLLs first.
set(CMAKE_INSTALL_BINDIR .)
