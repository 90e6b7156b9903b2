# Installs vexalib from the build tree into a temporary prefix and builds a
# program of another project against it, once through pkg-config and once
# through find_package(vexalib); both run and report the header's version.
# Checks the installed layout: only the public header, the man page, no
# warning flags in the package.
# Arguments: -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch directory>
#            -DCONSUMER_DIR=<consumer project> -DC_COMPILER=<cc>
#            -DEXPECTED_VERSION=<x.y.z> -DSANITIZE=<ON|OFF>
#            -DLIBDIR=<lib dir name> -DMANDIR=<man dir>
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed
        OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(failed)
        message(FATAL_ERROR "${ARGN}\n${out}\n${err}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component vexalib)

# The layout.
foreach(file
        include/vexalib.h
        ${LIBDIR}/libvexalib.so.${EXPECTED_VERSION}
        ${LIBDIR}/pkgconfig/vexalib.pc
        ${LIBDIR}/cmake/vexalib/vexalibConfig.cmake
        ${LIBDIR}/cmake/vexalib/vexalibConfigVersion.cmake
        ${MANDIR}/man3/vexalib.3)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(GLOB headers RELATIVE ${prefix}/include ${prefix}/include/*)
if(NOT headers STREQUAL "vexalib.h")
    message(FATAL_ERROR "installed headers: ${headers}")
endif()
file(READ ${prefix}/include/vexalib.h header)
if(header MATCHES "VEXA_CMD_|VEXA_NV_|VEXA_ST_|VEXA_XFER_")
    message(FATAL_ERROR "the public header carries the chip's wire codes")
endif()
file(GLOB package_files ${prefix}/${LIBDIR}/cmake/vexalib/*.cmake ${prefix}/${LIBDIR}/pkgconfig/*.pc)
foreach(file IN LISTS package_files)
    file(READ ${file} text)
    if(text MATCHES "Werror|Wall|qzr_warnings")
        message(FATAL_ERROR "${file} passes the project's warning flags on")
    endif()
endforeach()

set(sanitize_flags)
if(SANITIZE)
    set(sanitize_flags -fsanitize=address,undefined)
endif()
set(ENV{LD_LIBRARY_PATH} ${prefix}/${LIBDIR})

# pkg-config.
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
run(pkg-config --modversion vexalib)
string(STRIP "${output}" version)
if(NOT version STREQUAL EXPECTED_VERSION)
    message(FATAL_ERROR "pkg-config version ${version}, not ${EXPECTED_VERSION}")
endif()
run(pkg-config --cflags --libs vexalib)
separate_arguments(pc_flags UNIX_COMMAND "${output}")
run(${C_COMPILER} -std=c99 -Wall -Wextra ${sanitize_flags} ${CONSUMER_DIR}/VersionCheck.c
    ${pc_flags} -o ${WORK_DIR}/consumer-pkg-config)
run(${WORK_DIR}/consumer-pkg-config)
if(NOT output STREQUAL "${EXPECTED_VERSION}\n")
    message(FATAL_ERROR "pkg-config consumer printed: ${output}")
endif()

# find_package.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer-build -G Ninja
    -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_PREFIX_PATH=${prefix}
    "-DCMAKE_C_FLAGS=${sanitize_flags}" "-DCMAKE_EXE_LINKER_FLAGS=${sanitize_flags}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer-build)
run(${WORK_DIR}/consumer-build/vexalib_consumer)
if(NOT output STREQUAL "${EXPECTED_VERSION}\n")
    message(FATAL_ERROR "find_package consumer printed: ${output}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "vexalib ${EXPECTED_VERSION} installs and builds into other projects")
