# Installs the build into a staging prefix, checks what landed there, then
# configures, builds and runs the host program against it twice: through
# find_package(QuelDB) and through pkg-config.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DHOST_SOURCE=... -DGENERATOR=... -P check_package.cmake
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
        cmake/QuelDB/QuelDBConfigVersion.cmake pkgconfig/queldb.pc
        plugins/designer/libqueldb_designer.so bin/queldb)
  find_installed(file ${pattern})
endforeach()
find_installed(pc_file pkgconfig/queldb.pc)
get_filename_component(pc_dir ${pc_file} DIRECTORY)

foreach(via find_package pkg-config)
  set(host_build ${WORK_DIR}/host-${via})
  run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
      ${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${host_build} -G ${GENERATOR}
      -DCMAKE_PREFIX_PATH=${prefix} -DQUELDB_VIA=${via})
  run(${CMAKE_COMMAND} --build ${host_build})
  run(${CMAKE_COMMAND} -E env QUELDB_SYSTEM_DIR=${system_dir} ${host_build}/host_c)
  if(via STREQUAL "find_package")
    run(${CMAKE_COMMAND} -E env QUELDB_SYSTEM_DIR=${system_dir} ${host_build}/host_widget)
  endif()
endforeach()
