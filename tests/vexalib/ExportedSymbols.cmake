# Checks that the shared library's dynamic symbol table holds exactly the
# functions that the public header declares, and that there are 34 of them.
# Arguments: -DNM=<nm> -DLIBRARY=<libvexalib.so> -DHEADER=<vexalib.h>
file(STRINGS ${HEADER} declarations REGEX "VEXA_API .*Vexa_[A-Za-z]+\\(")
set(declared)
foreach(line IN LISTS declarations)
    string(REGEX MATCH "Vexa_[A-Za-z]+" name "${line}")
    list(APPEND declared ${name})
endforeach()
list(SORT declared)

execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
    OUTPUT_VARIABLE table RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${table}")
set(exported)
foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-fA-F]* +[A-Za-z] +(.+)$")
        list(APPEND exported ${CMAKE_MATCH_1})
    endif()
endforeach()
list(SORT exported)

list(LENGTH declared declaredCount)
if(NOT declaredCount EQUAL 34)
    message(FATAL_ERROR "the header declares ${declaredCount} functions, not 34: ${declared}")
endif()
if(NOT exported STREQUAL declared)
    message(FATAL_ERROR "exported: ${exported}\ndeclared: ${declared}")
endif()
message(STATUS "34 passed, 0 failed: the library exports exactly the header's functions")
