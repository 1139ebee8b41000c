# Imported target DNSSD::DNSSD for the DNS-SD compatibility library (service browsing).
find_path(DNSSD_INCLUDE_DIR dns_sd.h PATH_SUFFIXES avahi-compat-libdns_sd)
find_library(DNSSD_LIBRARY NAMES dns_sd)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(DNSSD REQUIRED_VARS DNSSD_LIBRARY DNSSD_INCLUDE_DIR)
if(DNSSD_FOUND AND NOT TARGET DNSSD::DNSSD)
  add_library(DNSSD::DNSSD UNKNOWN IMPORTED)
  set_target_properties(DNSSD::DNSSD PROPERTIES
    IMPORTED_LOCATION "${DNSSD_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${DNSSD_INCLUDE_DIR}")
endif()
mark_as_advanced(DNSSD_INCLUDE_DIR DNSSD_LIBRARY)
