# kestrune_library(<Name> <MACRO_PREFIX> <log-category>)
# Declares one of the shared libraries: hidden visibility, its export macro
# (<MACRO_PREFIX>_LIBRARY defined while building it), path-qualified includes from src/
# and its logging category.
function(kestrune_library name macro_prefix log_category)
  add_library(${name} SHARED)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_definitions(${name} PRIVATE ${macro_prefix}_LIBRARY
    KESTRUNE_LOG_CATEGORY="${log_category}")
endfunction()
