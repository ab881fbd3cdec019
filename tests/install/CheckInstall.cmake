# Installs the built library into a scratch prefix, then configures, builds and runs the
# minimal host against it as an out-of-tree project would.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
set(host_build ${WORK_DIR}/host-build)
# A sanitizer build of the library needs the host built with the same runtime.
set(host_flags)
if(SANITIZE)
  set(host_flags -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined
                 -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${EXAMPLE_DIR} -B ${host_build} -G Ninja
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix} ${host_flags}
  RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring the host failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${host_build} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the host failed: ${rc}")
endif()
execute_process(COMMAND ${host_build}/minimal-host RESULT_VARIABLE rc OUTPUT_VARIABLE out)
message(STATUS "${out}")
if(rc)
  message(FATAL_ERROR "running the host failed: ${rc}")
endif()
if(NOT out MATCHES "Vorn Drawing Engine")
  message(FATAL_ERROR "unexpected host output: ${out}")
endif()
