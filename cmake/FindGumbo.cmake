# Imported target Gumbo::Gumbo for the gumbo HTML5 parser.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(PC_GUMBO QUIET gumbo)
endif()
find_path(GUMBO_INCLUDE_DIR gumbo.h HINTS ${PC_GUMBO_INCLUDEDIR})
find_library(GUMBO_LIBRARY NAMES gumbo HINTS ${PC_GUMBO_LIBDIR})
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Gumbo REQUIRED_VARS GUMBO_LIBRARY GUMBO_INCLUDE_DIR)
if(Gumbo_FOUND AND NOT TARGET Gumbo::Gumbo)
  add_library(Gumbo::Gumbo UNKNOWN IMPORTED)
  set_target_properties(Gumbo::Gumbo PROPERTIES
    IMPORTED_LOCATION "${GUMBO_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GUMBO_INCLUDE_DIR}")
endif()
mark_as_advanced(GUMBO_INCLUDE_DIR GUMBO_LIBRARY)
