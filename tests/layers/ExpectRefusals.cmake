# cmake -DCHECK=<CheckLayerIncludes.cmake> -DTREE=<fixture tree> -P ExpectRefusals.cmake
# The include scan over a small tree with known faults must fail and name each fault, and only
# those: an allowed include reported would make the scan useless in practice.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(output "${out}${err}")
if(result EQUAL 0)
  message(FATAL_ERROR "the scan passed a tree with upward includes:\n${output}")
endif()
set(expected
  "core/Upward.h:3: includes run/RunState.h: core/ may not use run/"
  "core/Upward.h:4: includes ../run/RunHost.h: a path that leaves its folder"
  "core/Upward.h:5: includes QString: Qt outside ui/ and cli/dbus/"
  "sched/Sibling.cpp:1: includes engine/EngineOptions.h: sched/ may not use engine/")
foreach(line IN LISTS expected)
  string(FIND "${output}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the scan did not report \"${line}\":\n${output}")
  endif()
endforeach()
foreach(allowed IN ITEMS "core/Upward.h:6" "settings/Downward.h" "cli/dbus/Adaptor.cpp")
  string(FIND "${output}" "${allowed}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the scan refused an allowed include (${allowed}):\n${output}")
  endif()
endforeach()
