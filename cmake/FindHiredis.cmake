# Imported target Hiredis::Hiredis for the hiredis client library (blocking API).
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(PC_HIREDIS QUIET hiredis)
endif()
find_path(HIREDIS_INCLUDE_DIR hiredis/hiredis.h HINTS ${PC_HIREDIS_INCLUDEDIR})
find_library(HIREDIS_LIBRARY NAMES hiredis HINTS ${PC_HIREDIS_LIBDIR})
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Hiredis REQUIRED_VARS HIREDIS_LIBRARY HIREDIS_INCLUDE_DIR)
if(Hiredis_FOUND AND NOT TARGET Hiredis::Hiredis)
  add_library(Hiredis::Hiredis UNKNOWN IMPORTED)
  set_target_properties(Hiredis::Hiredis PROPERTIES
    IMPORTED_LOCATION "${HIREDIS_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${HIREDIS_INCLUDE_DIR}")
endif()
mark_as_advanced(HIREDIS_INCLUDE_DIR HIREDIS_LIBRARY)
