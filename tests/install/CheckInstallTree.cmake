# cmake -DBUILD=dir -DPREFIX=dir -DGUI=ON|OFF -P CheckInstallTree.cmake
# Installs the build into a fresh PREFIX and compares the files there with the list below; the
# desktop entry and the manual pages also go through their validators where those are installed.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected bin/orlenta-cli share/man/man1/orlenta-cli.1.gz)
if(GUI)
    list(APPEND expected
        bin/orlenta
        share/applications/orlenta.desktop
        share/icons/hicolor/scalable/apps/orlenta.svg
        share/man/man1/orlenta.1.gz
        share/mime/packages/orlenta.xml)
endif()
list(SORT expected)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "Installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()

# Installed without the build tree's run path, the tool still finds its libraries. (The window
# has no option that ends it at once.)
execute_process(COMMAND ${PREFIX}/bin/orlenta-cli --version RESULT_VARIABLE result
    OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "The installed orlenta-cli does not run: ${result}")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(GUI AND DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/orlenta.desktop
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR NOT output STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate: ${output}")
    endif()
endif()

find_program(GROFF groff)
if(GROFF)
    file(GLOB pages ${BUILD}/man/*.1)
    foreach(page IN LISTS pages)
        execute_process(COMMAND ${GROFF} -man -ww -z ${page}
            RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
        if(NOT result EQUAL 0 OR NOT output STREQUAL "")
            message(FATAL_ERROR "groff on ${page}: ${output}")
        endif()
    endforeach()
endif()
