# Builds vexalib from its source directory inside another project and runs a
# program against it: vexalib builds there with its own requirements alone,
# and none of its compile commands carries the warning flags that its home
# project treats as errors.
# Arguments: -DVEXALIB_SOURCE_DIR=<vexalib/> -DEMBEDDER_DIR=<project>
#            -DCONSUMER_SOURCE=<VersionCheck.c> -DWORK_DIR=<scratch directory>
#            -DEXPECTED_VERSION=<x.y.z>
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed
        OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(failed)
        message(FATAL_ERROR "${ARGN}\n${out}\n${err}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} -S ${EMBEDDER_DIR} -B ${WORK_DIR} -G Ninja -DCMAKE_BUILD_TYPE=Debug
    -DVEXALIB_SOURCE_DIR=${VEXALIB_SOURCE_DIR} -DCONSUMER_SOURCE=${CONSUMER_SOURCE})
run(ninja -C ${WORK_DIR} -t commands vexalib_embedder)
if(output MATCHES "-Werror|-Wextra")
    message(FATAL_ERROR "the embedded vexalib is built with the home project's warnings:\n${output}")
endif()
run(${CMAKE_COMMAND} --build ${WORK_DIR} --target vexalib_embedder)
run(${WORK_DIR}/vexalib_embedder)
if(NOT output STREQUAL "${EXPECTED_VERSION}\n")
    message(FATAL_ERROR "the embedding project's program printed: ${output}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "vexalib ${EXPECTED_VERSION} builds inside another project")
