# Runs as a CTest script: install, configure and build the host project, run it.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK}/prefix)
if(EXISTS ${WORK}/prefix/include/VIG_alarm/frame/AlarmModuleInit.h AND NOT EXISTS ${WORK}/prefix/include/VIG_alarm/resources)
else()
    message(FATAL_ERROR "the installed headers are not laid out as expected")
endif()
run(${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK}/build -DCMAKE_PREFIX_PATH=${WORK}/prefix
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_CXX_FLAGS=${FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${FLAGS})
run(${CMAKE_COMMAND} --build ${WORK}/build)
execute_process(COMMAND ${WORK}/build/tiny-host WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tiny-host failed (${rc})")
endif()

# The installed console runs its demo from any folder, with no option but the screenshot that ends it.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=VIG_SCENARIO
        ${WORK}/prefix/bin/alarm-console --screenshot ${WORK}/console.png --after 1
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/console.png)
    message(FATAL_ERROR "the installed alarm-console failed (${rc}):\n${out}")
endif()
