# Runs lupdate over the window's sources into a copy of CATALOGUE and fails when that copy gains
# an unfinished entry (a text without its translation) or a vanished one (a translation whose
# text is gone). The catalogue itself is left as it is.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
get_filename_component(name "${CATALOGUE}" NAME)
set(copy "${WORK_DIR}/${name}")
file(COPY_FILE "${CATALOGUE}" "${copy}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" "-DIN_FILE=${PROJECT_DESCRIPTION}" "-DOUT_FILE=${WORK_DIR}/project.json"
            -P "${PROJECT_GENERATOR}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Cannot describe the sources for lupdate: ${result}")
endif()
execute_process(
    COMMAND "${LUPDATE}" -project "${WORK_DIR}/project.json" -ts "${copy}" -locations none
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${errors}")
endif()
file(STRINGS "${copy}" unfinished REGEX "type=\"(unfinished|vanished|obsolete)\"")
if(unfinished)
    file(STRINGS "${copy}" lines)
    set(report "")
    set(previous "")
    foreach(line IN LISTS lines)
        if(line MATCHES "type=\"(unfinished|vanished|obsolete)\"")
            string(APPEND report "  ${CMAKE_MATCH_1}: ${previous}\n")
        endif()
        set(previous "${line}")
    endforeach()
    message(FATAL_ERROR "${CATALOGUE} is not current with the sources "
                        "(build orlenta_gui_lupdate and translate):\n${report}")
endif()
message(STATUS "${output}")
