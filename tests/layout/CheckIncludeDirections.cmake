# Reads the include lines of every source file under ROOT and fails when one
# crosses the allowed direction of dependencies between the program's folders:
#
#   app          on everything below it (not cli, not sim)
#   cli          like app, but no widgets and no QtWidgets or QtGui header;
#                of app/ only the data-directory lookup (ProgramDataLocation.h)
#   cradle, catalogue, logdata, translation
#                on protocol, hid, vexalib's C interface and widgets, and on
#                each other only as listed below
#   widgets      on nothing of the program
#   hid, vexalib on nothing of the program
#   protocol     on nothing of the program
#   sim          on protocol only; sim/session-demo, the console run of the
#                program's session core against the unit model, also on cradle
#
# Usage: cmake -DROOT=<source dir> [-DQT_INCLUDE_DIR=<Qt's include dir>]
#              -P CheckIncludeDirections.cmake
cmake_minimum_required(VERSION 3.20)
if(NOT ROOT)
    message(FATAL_ERROR "ROOT is not set")
endif()

set(folders protocol hid vexalib widgets translation catalogue logdata cradle app cli sim)
set(below protocol hid vexalib widgets)

set(allowed_protocol)
set(allowed_hid)
set(allowed_vexalib)
set(allowed_widgets)
set(allowed_translation ${below})
set(allowed_catalogue ${below})
set(allowed_logdata ${below})
# The control window shows the sensor catalogue's current entry and its texts
# through the translator.
set(allowed_cradle ${below} translation)
set(allowed_app ${below} translation catalogue logdata cradle)
set(allowed_cli protocol hid vexalib translation catalogue logdata cradle)
set(allowed_sim protocol)
set(allowed_sim/session-demo protocol cradle)

# Qt headers a folder without windows must not include.
set(window_modules QtWidgets QtGui QtPrintSupport QtCharts)
set(windowless cli)

# The top folder (or the exception's folder) a path below ROOT belongs to.
function(owner_of path out)
    file(RELATIVE_PATH relative "${ROOT}" "${path}")
    if(relative MATCHES "^sim/session-demo/")
        set(${out} "sim/session-demo" PARENT_SCOPE)
    elseif(relative MATCHES "^([^/]+)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

# The program folder an include names, or "" for a header from outside the
# program. Quoted includes are first looked for beside the including file.
function(target_of file delimiter name out)
    get_filename_component(dir "${file}" DIRECTORY)
    if(delimiter STREQUAL "\"" AND EXISTS "${dir}/${name}")
        get_filename_component(resolved "${dir}/${name}" ABSOLUTE)
        owner_of("${resolved}" owner)
        set(${out} "${owner}" PARENT_SCOPE)
        return()
    endif()
    if(name STREQUAL "vexalib.h")
        set(${out} vexalib PARENT_SCOPE)
        return()
    endif()
    if(name MATCHES "^sim/session-demo/")
        set(${out} "sim/session-demo" PARENT_SCOPE)
        return()
    endif()
    foreach(folder IN LISTS folders)
        if(name MATCHES "^${folder}/")
            set(${out} "${folder}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} "" PARENT_SCOPE)
endfunction()

function(is_window_header name out)
    set(${out} FALSE PARENT_SCOPE)
    foreach(module IN LISTS window_modules)
        if(name MATCHES "^${module}/")
            set(${out} TRUE PARENT_SCOPE)
            return()
        endif()
        if(QT_INCLUDE_DIR AND name MATCHES "^Q[A-Za-z0-9]+$" AND
           EXISTS "${QT_INCLUDE_DIR}/${module}/${name}")
            set(${out} TRUE PARENT_SCOPE)
            return()
        endif()
    endforeach()
endfunction()

set(patterns)
foreach(folder IN LISTS folders)
    foreach(extension c cpp h h.in)
        list(APPEND patterns "${ROOT}/${folder}/*.${extension}")
    endforeach()
endforeach()
file(GLOB_RECURSE sources LIST_DIRECTORIES false ${patterns})
list(SORT sources)

set(violations 0)
set(checked 0)
foreach(file IN LISTS sources)
    owner_of("${file}" owner)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^\">]+)[\">]")
            continue()
        endif()
        set(delimiter "${CMAKE_MATCH_1}")
        set(name "${CMAKE_MATCH_2}")
        math(EXPR checked "${checked} + 1")
        file(RELATIVE_PATH shown "${ROOT}" "${file}")
        target_of("${file}" "${delimiter}" "${name}" target)
        if(target STREQUAL "")
            if(owner IN_LIST windowless)
                is_window_header("${name}" window)
                if(window)
                    message(SEND_ERROR "${shown}: ${owner}/ has no windows but includes <${name}>")
                    math(EXPR violations "${violations} + 1")
                endif()
            endif()
            continue()
        endif()
        if(target STREQUAL owner)
            continue()
        endif()
        # The exception's folder is part of sim for everyone else, and sim
        # itself is reachable from it.
        if(owner STREQUAL "sim/session-demo" AND target STREQUAL "sim")
            continue()
        endif()
        # The data-directory lookup is the program's and the command line's
        # alike: one windowless header of app/ that cli/ may include.
        if(owner STREQUAL "cli" AND name STREQUAL "app/ProgramDataLocation.h")
            continue()
        endif()
        if(NOT target IN_LIST allowed_${owner})
            message(SEND_ERROR "${shown}: ${owner}/ must not include ${target}/ (${name})")
            math(EXPR violations "${violations} + 1")
        endif()
    endforeach()
endforeach()

if(checked EQUAL 0)
    message(FATAL_ERROR "no include lines found under ${ROOT}")
endif()
if(violations GREATER 0)
    message(FATAL_ERROR "${violations} include(s) cross the direction of dependencies")
endif()
message(STATUS "${checked} include lines follow the direction of dependencies")
