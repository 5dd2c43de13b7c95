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
    # as the Qt build keeps them, with the changes made to Qt's source, MinGW's
    # run-time and its threads library; and how that Qt is built again, so
    # that a user can exercise the LGPL's rights.
    install(DIRECTORY ${qt}/share/licenses/ DESTINATION licenses)
    install(FILES ${qt}/lib/cmake/Qt6/mingw-toolchain.cmake DESTINATION licenses/qt6-base/changes)
    kaldora_windows_qt_source_note(${qt} ${CMAKE_BINARY_DIR}/qt-izvorni-kod.txt)
    install(FILES ${CMAKE_BINARY_DIR}/qt-izvorni-kod.txt DESTINATION licenses)
    foreach(package gcc-mingw-w64-base mingw-w64-common)
        if(EXISTS /usr/share/doc/${package}/copyright)
            install(FILES /usr/share/doc/${package}/copyright DESTINATION licenses
                RENAME ${package}.txt)
        endif()
    endforeach()
endfunction()

# Writes `out`, the note on the source of the Qt DLLs and on building them
# again (licenses\qt-izvorni-kod.txt), from what scripts/build-qt-windows
# wrote down of that build: the Debian source packages, the packages of the
# tools with their versions, the configure options; and the changes it
# applied, which are shipped beside it.
function(kaldora_windows_qt_source_note qt out)
    set(inputs ${qt}/share/kaldora/build-inputs.txt)
    if(NOT EXISTS ${inputs})
        message(FATAL_ERROR "${inputs} is missing: this Qt was not built by scripts/build-qt-windows")
    endif()
    file(STRINGS ${inputs} lines)
    set(KALDORA_QT_TOOL_LIST "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^qt6-base source (.+)$")
            set(KALDORA_QT_SOURCE_VERSION ${CMAKE_MATCH_1})
        elseif(line MATCHES "^sqlite3 source (.+)$")
            set(KALDORA_SQLITE_SOURCE_VERSION ${CMAKE_MATCH_1})
        elseif(line MATCHES "^options (.+)$")
            string(REPLACE " -" " \\\n      -" KALDORA_QT_OPTIONS "${CMAKE_MATCH_1}")
        elseif(NOT line MATCHES "^(compiler|file|steps|key) " AND line MATCHES "^([^ ]+) ([0-9][^ ]*)$")
            string(APPEND KALDORA_QT_TOOL_LIST "  ${CMAKE_MATCH_1} ${CMAKE_MATCH_2}\n")
        endif()
    endforeach()
    if(NOT KALDORA_QT_SOURCE_VERSION OR NOT KALDORA_SQLITE_SOURCE_VERSION OR NOT KALDORA_QT_OPTIONS)
        message(FATAL_ERROR "${inputs} does not name the Qt and SQLite sources and the options")
    endif()
    string(APPEND KALDORA_QT_TOOL_LIST "  i ninja-build, patch, tcl, make i gcc\n")
    # apt-get source unpacks into <package>-<upstream version>.
    foreach(package qt sqlite)
        string(TOUPPER ${package} name)
        string(REGEX REPLACE "^[0-9]+:|-[^-]+$" "" upstream "${KALDORA_${name}_SOURCE_VERSION}")
        set(KALDORA_${name}_SOURCE_DIR ${upstream})
    endforeach()
    string(REGEX MATCH "^[0-9.]+" KALDORA_QT_VERSION "${KALDORA_QT_SOURCE_DIR}")
    set(KALDORA_QT_SOURCE_DIR qt6-base-${KALDORA_QT_SOURCE_DIR})
    set(KALDORA_SQLITE_SOURCE_DIR sqlite3-${KALDORA_SQLITE_SOURCE_DIR})
    file(GLOB patches ${qt}/share/licenses/qt6-base/changes/*.patch)
    set(KALDORA_QT_PATCH_LIST "")
    set(KALDORA_QT_PATCH_COMMANDS "")
    foreach(patch IN LISTS patches)
        get_filename_component(patch ${patch} NAME)
        string(APPEND KALDORA_QT_PATCH_LIST "  ${patch}\n")
        string(APPEND KALDORA_QT_PATCH_COMMANDS
            "  patch -d ${KALDORA_QT_SOURCE_DIR} -p1 < changes/${patch}\n")
    endforeach()
    configure_file(${KALDORA_WINDOWS_DIR}/qt-izvorni-kod.txt.in ${out} @ONLY)
endfunction()

# The installer (NSIS, 64-bit, in Serbian) and the portable zip:
# kaldora-<version>-win64-setup.exe and kaldora-<version>-win64.zip.
function(kaldora_windows_package)
    set(CPACK_GENERATOR NSIS64 ZIP)
    set(CPACK_PACKAGE_NAME kaldora)
    set(CPACK_PACKAGE_VENDOR KALDORA)
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "KALDORA - mesecni racun za struju")
    set(CPACK_PACKAGE_FILE_NAME kaldora-${PROJECT_VERSION}-win64)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY KALDORA)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY KALDORA)
    set(CPACK_STRIP_FILES ON)
    # The installer's script is KALDORA's own (dist/windows/NSIS.template.in):
    # its pages, questions and messages in Serbian, shortcuts to the programs
    # where they are installed, and a running KALDORA closed before its files
    # are replaced or removed. It has no licence page (CMake's default shows
    # a placeholder); the licences of what ships with the programs are in
    # their licenses folder.
    set(CPACK_MODULE_PATH ${KALDORA_WINDOWS_DIR})
    set(CPACK_KALDORA_PROGRAM kaldora.exe)
    set(CPACK_KALDORA_BATCH_PROGRAM kaldora-obracun.exe)
    # The stub is 64-bit, so it runs where the programs run and installs
    # into the 64-bit Program Files and registry.
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_NSIS_PACKAGE_NAME KALDORA)
    set(CPACK_NSIS_DISPLAY_NAME KALDORA)
    set(CPACK_NSIS_MUI_ICON ${KALDORA_WINDOWS_DIR}/kaldora.ico)
    set(CPACK_NSIS_MUI_UNIICON ${KALDORA_WINDOWS_DIR}/kaldora.ico)
    set(CPACK_NSIS_CONTACT "kaldora@kaldora.rs")
    set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
    # The installer gets its "-setup" name here, the zip keeps the plain one.
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows-cpack-names.cmake)
    include(CPack)
endfunction()

# The programs sit at the top of their folder, beside the DLLs, where
# Windows looks for a program's DLLs first.
set(CMAKE_INSTALL_BINDIR .)
