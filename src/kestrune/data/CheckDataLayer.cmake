# Checks the data layer's sources (cmake -DROOT=<src/kestrune/data> -DSTAMP=<file> -P):
# - no file names QtWidgets (the layer is headless; QtCore's include folder would
#   otherwise let <QtWidgets/...> through although the library does not link widgets);
# - no file includes a header of a higher layer (records < model < deraz < state; the
#   registration entry points at the top may include any);
# - only DerazRawReply reads hiredis's reply structure.
# Any finding fails the build and names the file.

set(_layers records model deraz state)
file(GLOB_RECURSE _files RELATIVE "${ROOT}" "${ROOT}/*.h" "${ROOT}/*.cpp")
set(_problems "")
foreach(_file IN LISTS _files)
  file(READ "${ROOT}/${_file}" _text)
  if(_text MATCHES "QtWidgets")
    list(APPEND _problems "${_file}: names QtWidgets, but the data layer has no widget code")
  endif()
  if(_text MATCHES "redisReply([^A-Za-z0-9_]|$)" AND NOT _file MATCHES "^deraz/DerazRawReply\\.(h|cpp)$")
    list(APPEND _problems "${_file}: reads hiredis replies, which only deraz/DerazRawReply does")
  endif()
  string(REGEX MATCH "^([a-z]+)/" _dir "${_file}")
  list(FIND _layers "${CMAKE_MATCH_1}" _rank)
  if(_rank LESS 0)
    continue()
  endif()
  string(REGEX MATCHALL "#include[ \t]*[<\"]kestrune/data/[a-z]+/" _includes "${_text}")
  foreach(_include IN LISTS _includes)
    string(REGEX MATCH "kestrune/data/([a-z]+)/" _ignored "${_include}")
    list(FIND _layers "${CMAKE_MATCH_1}" _included)
    if(_included GREATER _rank)
      list(APPEND _problems "${_file}: includes the higher layer ${CMAKE_MATCH_1}/")
    endif()
  endforeach()
endforeach()
if(_problems)
  list(JOIN _problems "\n  " _report)
  message(FATAL_ERROR "data layer check failed:\n  ${_report}")
endif()
file(TOUCH "${STAMP}")
