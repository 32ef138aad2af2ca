# Installs the build into a staging prefix, checks what landed there, then
# configures, builds and runs two hosts against it, each through
# find_package(QuelDB) and through pkg-config: a C host without Qt and a Qt
# host whose form uic compiles. A component the package lacks is refused.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DHOSTS_DIR=... -DGENERATOR=... -P check_package.cmake
set(prefix ${WORK_DIR}/staging)
set(system_dir ${WORK_DIR}/system)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${system_dir})
# The host stores and reads a Modbus register.
file(WRITE ${system_dir}/KVD.INI "[IOType]\nIODevice=Modbus\n")

include(${CMAKE_CURRENT_LIST_DIR}/run_step.cmake)

# The one file below the prefix whose name matches the last part of the
# pattern and whose path ends with the folders before it.
function(find_installed variable pattern)
  get_filename_component(name ${pattern} NAME)
  get_filename_component(folders ${pattern} DIRECTORY)
  file(GLOB_RECURSE candidates LIST_DIRECTORIES false ${prefix}/${name})
  set(found "")
  foreach(candidate ${candidates})
    get_filename_component(candidate_dir ${candidate} DIRECTORY)
    if(NOT folders OR candidate_dir MATCHES "/${folders}$")
      list(APPEND found ${candidate})
    endif()
  endforeach()
  list(LENGTH found count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one ${pattern} below ${prefix}, found: ${found}")
  endif()
  set(${variable} ${found} PARENT_SCOPE)
endfunction()

function(expect_soname library)
  find_installed(file ${library}.so)
  execute_process(COMMAND readelf -d ${file} OUTPUT_VARIABLE dynamic)
  if(NOT dynamic MATCHES "Library soname: \\[${library}\\.so\\.[0-9]+\\]")
    message(FATAL_ERROR "${file} has no versioned SONAME:\n${dynamic}")
  endif()
  find_installed(versioned ${library}.so.*.*.*)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
expect_soname(libqueldb)
expect_soname(libqueldb_widgets)
foreach(pattern include/queldb/db.h include/queldb/queldb.h include/queldb/variant.h
        include/queldb/db_control.h cmake/QuelDB/QuelDBConfig.cmake
        cmake/QuelDB/QuelDBConfigVersion.cmake cmake/QuelDB/QuelDBWidgetsTargets.cmake
        pkgconfig/queldb.pc pkgconfig/queldb-widgets.pc
        plugins/designer/libqueldb_designer.so bin/queldb)
  find_installed(file ${pattern})
endforeach()
find_installed(pc_file pkgconfig/queldb.pc)
get_filename_component(pc_dir ${pc_file} DIRECTORY)

# Configures and builds one host; the remaining arguments go to the configure step.
function(build_host source build)
  run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
      ${CMAKE_COMMAND} -S ${source} -B ${build} -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} ${ARGN})
  run(${CMAKE_COMMAND} --build ${build} -j 2)
endfunction()

foreach(via find_package pkg-config)
  build_host(${HOSTS_DIR}/host ${WORK_DIR}/host-${via} -DQUELDB_VIA=${via})
  run(${CMAKE_COMMAND} -E env QUELDB_SYSTEM_DIR=${system_dir} ${WORK_DIR}/host-${via}/host_c)
  build_host(${HOSTS_DIR}/qt_host ${WORK_DIR}/qt-host-${via} -DQUELDB_VIA=${via})
  run(${CMAKE_COMMAND} -E env QUELDB_SYSTEM_DIR=${system_dir} ${WORK_DIR}/qt-host-${via}/host_widget)
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -S ${HOSTS_DIR}/host -B ${WORK_DIR}/host-nosuch -G ${GENERATOR}
                        -DCMAKE_PREFIX_PATH=${prefix} -DQUELDB_COMPONENTS=nosuch
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(result EQUAL 0 OR NOT out MATCHES "QuelDB has no component \"nosuch\"")
  message(FATAL_ERROR "find_package(QuelDB COMPONENTS nosuch) was not refused with QuelDB's own message:\n${out}")
endif()
