# Installs the engine from BUILD_DIR into a fresh prefix under WORK_DIR, builds
# the program of this folder against it with find_package(kz8mrp CONFIG) and
# runs it on a database that the installed kz8mrp program creates.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}")

set(flags)
if(SANITIZE)
  # The installed library is instrumented; so must its user be.
  set(flags "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined"
            "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
endif()
run("${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK_DIR}/build" -G "${GENERATOR}"
    "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}" "-DCMAKE_PREFIX_PATH=${prefix}" ${flags})
run("${CMAKE_COMMAND}" --build "${WORK_DIR}/build")
run("${prefix}/bin/kz8mrp" init --db "${WORK_DIR}/plant.db" --demo)
run("${WORK_DIR}/build/consumer" "${WORK_DIR}/plant.db")
file(REMOVE_RECURSE "${WORK_DIR}")
