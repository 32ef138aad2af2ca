# Configures, builds and runs a host project that adds the tagdb folder with
# add_subdirectory and nothing else of this repository: host_c, and host_cpp
# where the host has one.
#   cmake -DWORK_DIR=... -DTAGDB_DIR=... -DHOST_SOURCE=... -DGENERATOR=... [-DLAUNCHER=ccache] -P check_subdirectory.cmake
include(${CMAKE_CURRENT_LIST_DIR}/run_step.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/system)
file(WRITE ${WORK_DIR}/system/KVD.INI "[IOType]\nIODevice=Modbus\n")
set(launcher "")
if(LAUNCHER)
  set(launcher -DCMAKE_C_COMPILER_LAUNCHER=${LAUNCHER} -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
run(${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR} -DQUELDB_SOURCE_DIR=${TAGDB_DIR} ${launcher})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build -j 2)
foreach(program host_c host_cpp)
  if(program STREQUAL "host_c" OR EXISTS ${WORK_DIR}/build/${program})
    run(${CMAKE_COMMAND} -E env QUELDB_SYSTEM_DIR=${WORK_DIR}/system ${WORK_DIR}/build/${program})
  endif()
endforeach()
