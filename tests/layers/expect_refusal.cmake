# Runs the layer check (CHECK) on TREE, a small source tree holding forbidden
# includes beside allowed ones: the check must fail, name each forbidden
# include with its file, and name nothing else.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -P ${CHECK}
                RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _output)
message("${_output}")
if(_result EQUAL 0)
  message(FATAL_ERROR "The layer check accepted forbidden includes")
endif()
set(_expected
  "src/ui/base/Upward.h includes ui/app/Roster.h"
  "src/ui/search/Beside.cpp includes ui/output/ExportWindow.h"
  "src/core/cards/Window.cpp includes QDialog"
  "src/core/app/Program.h includes ui/base/Application.h")
foreach(_refusal IN LISTS _expected)
  string(FIND "${_output}" "${_refusal}" _at)
  if(_at EQUAL -1)
    message(FATAL_ERROR "The layer check did not name: ${_refusal}")
  endif()
endforeach()
foreach(_allowed Allowed.cpp Commented.h ui/base/Widgets.h ui/editing/HintBar.h CardStore.h QString)
  string(FIND "${_output}" "${_allowed}" _at)
  if(NOT _at EQUAL -1)
    message(FATAL_ERROR "The layer check refused an allowed include: ${_allowed}")
  endif()
endforeach()
string(FIND "${_output}" "4 include(s) across the layers" _at)
if(_at EQUAL -1)
  message(FATAL_ERROR "The layer check did not count four refusals")
endif()
