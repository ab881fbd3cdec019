# Installs the built libraries into a scratch prefix, then configures, builds and runs the example
# hosts against them as out-of-tree projects would.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
# A sanitizer build of the library needs the hosts built with the same runtime.
set(host_flags)
if(SANITIZE)
  set(host_flags -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined
                 -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
endif()

# Configures and builds the host project in SOURCE, then runs its program PROGRAM with ARGN; the
# output must name the engine.
function(check_project name source program)
  set(host_build ${WORK_DIR}/${name}-build)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${source} -B ${host_build} -G Ninja
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix} ${host_flags}
    RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "configuring ${name} failed: ${rc}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${host_build} RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "building ${name} failed: ${rc}")
  endif()
  execute_process(COMMAND ${host_build}/${program} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  message(STATUS "${out}")
  if(rc)
    message(FATAL_ERROR "running ${name} failed: ${rc}")
  endif()
  if(NOT out MATCHES "Vorn Drawing Engine")
    message(FATAL_ERROR "unexpected output of ${name}: ${out}")
  endif()
endfunction()

# An example host of examples/NAME, its program named as the folder.
function(check_host name)
  check_project(${name} ${EXAMPLES_DIR}/${name} ${name} ${ARGN})
endfunction()

# The engine alone: a shape class of the host's own.
check_host(minimal-host)
# The shape kit as it is: the sample label rendered to an image.
check_host(render-host ${SAMPLE} ${WORK_DIR}/label.png 150)
if(NOT EXISTS ${WORK_DIR}/label.png)
  message(FATAL_ERROR "render-host wrote no image")
endif()

# Vorn Designer, the engine's demo application, is a host like any other.
if(DESIGNER_DIR)
  check_project(designer ${DESIGNER_DIR} vorn-designer --version)
endif()

# A host without CMake: the minimal host compiled and linked with what pkg-config says.
find_program(PKG_CONFIG pkg-config REQUIRED)
file(GLOB pc_file ${prefix}/lib*/pkgconfig/vorn-drawengr.pc ${prefix}/lib/*/pkgconfig/vorn-drawengr.pc)
if(NOT pc_file)
  message(FATAL_ERROR "vorn-drawengr.pc was not installed")
endif()
get_filename_component(pc_dir ${pc_file} DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
    ${PKG_CONFIG} --cflags --libs vorn-drawengr
  RESULT_VARIABLE rc OUTPUT_VARIABLE pc_flags ERROR_VARIABLE pc_err OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
    ${PKG_CONFIG} --variable=libdir vorn-drawengr
  OUTPUT_VARIABLE pc_libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
if(rc)
  message(FATAL_ERROR "pkg-config failed: ${pc_err}")
endif()
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
set(sanitize_flags)
if(SANITIZE)
  set(sanitize_flags -fsanitize=address,undefined)
endif()
# The host's shape class is an object of the engine's model: moc writes its meta-object into main.moc.
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
    ${PKG_CONFIG} --variable=libexecdir Qt6Core
  OUTPUT_VARIABLE qt_libexec OUTPUT_STRIP_TRAILING_WHITESPACE)
set(pc_work ${WORK_DIR}/pkgconfig-host)
file(MAKE_DIRECTORY ${pc_work})
set(pc_includes ${pc_flags})
list(FILTER pc_includes INCLUDE REGEX "^-I")
execute_process(COMMAND ${qt_libexec}/moc ${pc_includes} ${EXAMPLES_DIR}/minimal-host/main.cpp -o ${pc_work}/main.moc
  RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "moc failed on the minimal host: ${rc}")
endif()
set(pc_host ${pc_work}/minimal-host)
execute_process(COMMAND ${CXX} -std=c++20 ${sanitize_flags} -I${pc_work} ${EXAMPLES_DIR}/minimal-host/main.cpp
    -o ${pc_host} ${pc_flags} -Wl,-rpath,${pc_libdir}
  RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the minimal host with pkg-config failed: ${rc}")
endif()
execute_process(COMMAND ${pc_host} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(rc OR NOT out MATCHES "Vorn Drawing Engine")
  message(FATAL_ERROR "the minimal host built with pkg-config failed: ${rc} ${out}")
endif()
message(STATUS "pkg-config host: ${out}")
