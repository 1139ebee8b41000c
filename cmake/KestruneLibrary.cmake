# kestrune_library(<Name> <MACRO_PREFIX> <log-category>)
# Declares one of the shared libraries: hidden visibility, its export macro
# (<MACRO_PREFIX>_LIBRARY defined while building it), path-qualified includes from src/,
# its logging category, and precompiled Qt headers.
function(kestrune_library name macro_prefix log_category)
  add_library(${name} SHARED)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_definitions(${name} PRIVATE ${macro_prefix}_LIBRARY
    KESTRUNE_LOG_CATEGORY="${log_category}")
  kestrune_precompile_qt(${name})
endfunction()

# Precompiled headers for the Qt modules every target uses.
function(kestrune_precompile_qt target)
  target_precompile_headers(${target} PRIVATE
    <QtCore/QObject> <QtCore/QString> <QtCore/QByteArray> <QtCore/QVariant>
    <QtCore/QList> <QtCore/QHash> <QtCore/QMap> <QtCore/QDateTime>
    <functional> <memory> <optional>)
endfunction()
