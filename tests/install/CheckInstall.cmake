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

# Configures, builds and runs one example host with ARGN; its output must name the engine.
function(check_host name)
  set(host_build ${WORK_DIR}/${name}-build)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${EXAMPLES_DIR}/${name} -B ${host_build} -G Ninja
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix} ${host_flags}
    RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "configuring ${name} failed: ${rc}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${host_build} RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "building ${name} failed: ${rc}")
  endif()
  execute_process(COMMAND ${host_build}/${name} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  message(STATUS "${out}")
  if(rc)
    message(FATAL_ERROR "running ${name} failed: ${rc}")
  endif()
  if(NOT out MATCHES "Vorn Drawing Engine")
    message(FATAL_ERROR "unexpected output of ${name}: ${out}")
  endif()
endfunction()

# The engine alone: a shape class of the host's own.
check_host(minimal-host)
# The shape kit as it is: the sample label rendered to an image.
check_host(render-host ${SAMPLE} ${WORK_DIR}/label.png 150)
if(NOT EXISTS ${WORK_DIR}/label.png)
  message(FATAL_ERROR "render-host wrote no image")
endif()
