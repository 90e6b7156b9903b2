# Checks the manual page vexalib(3) against the public header: every function
# the header declares has its synopsis line, every result code and every
# limit the header names is described, and groff formats the page without a
# warning; its title line names the header's version.
# Arguments: -DHEADER=<vexalib.h> -DPAGE=<vexalib.3> -DGROFF=<groff or empty>
file(READ ${HEADER} header)
file(READ ${PAGE} page)

string(REGEX MATCHALL "VEXA_API [^(]*Vexa_[A-Za-z]+\\(" declarations "${header}")
set(missing)
set(count 0)
foreach(declaration IN LISTS declarations)
    string(REGEX MATCH "Vexa_[A-Za-z]+" name "${declaration}")
    math(EXPR count "${count} + 1")
    if(NOT page MATCHES "\n\\.BI? [^\n]*${name}\\(")
        list(APPEND missing "${name} (synopsis)")
    endif()
    if(NOT page MATCHES "\n\\.TP\n\\.BR [^\n]*${name} \"?\\(\\)")
        list(APPEND missing "${name} (description)")
    endif()
endforeach()

string(REGEX MATCHALL "\n    VEXA_[A-Z_]+ = " names "${header}")
foreach(entry IN LISTS names)
    string(REGEX MATCH "VEXA_[A-Z_]+" name "${entry}")
    if(NOT page MATCHES "${name}[^A-Z_]")
        list(APPEND missing ${name})
    endif()
endforeach()
string(REGEX MATCHALL "#define VEXALIB_VERSION_[A-Z]+" macros "${header}")
foreach(entry IN LISTS macros)
    string(REPLACE "#define " "" name "${entry}")
    if(NOT page MATCHES "${name}[^A-Z_]")
        list(APPEND missing ${name})
    endif()
endforeach()

string(REGEX MATCH "#define VEXALIB_VERSION_STRING \"([0-9.]+)\"" ignored "${header}")
set(version ${CMAKE_MATCH_1})
if(NOT page MATCHES "\n\\.TH VEXALIB 3 [^\n]* \"vexalib ${version}\"")
    list(APPEND missing "the version ${version} in its title line")
endif()

if(missing)
    message(FATAL_ERROR "vexalib.3 lacks: ${missing}")
endif()
if(NOT count EQUAL 34)
    message(FATAL_ERROR "found ${count} declarations in the header, not 34")
endif()

if(GROFF)
    execute_process(COMMAND ${GROFF} -t -man -Tutf8 -ww -z ${PAGE}
        RESULT_VARIABLE failed ERROR_VARIABLE warnings)
    if(failed OR NOT warnings STREQUAL "")
        message(FATAL_ERROR "groff: ${warnings}")
    endif()
endif()
message(STATUS "vexalib.3 describes all 34 functions, the result codes and the limits")
