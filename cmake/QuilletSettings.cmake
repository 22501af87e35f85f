# Build-time settings. Nothing is read from a configuration file at run time:
# a deployment sets these at configure time; the default points every peer at
# the bundled quillet-server on 127.0.0.1 (HTTP 18080, HTTPS 18443).
set(QUILLET_ACCOUNT_BASE_URL "http://127.0.0.1:18080/" CACHE STRING "Account server base URL, ends with /")
set(QUILLET_APP_ID "10000" CACHE STRING "Application id sent to the account service")
set(QUILLET_APP_KEY "QuilletLocalDevelopmentKey2026AB" CACHE STRING "Application key: 32 letters and digits")
set(QUILLET_PROBE_CHECK_URL "https://127.0.0.1:18443" CACHE STRING "Connectivity probe: check address, no trailing slash")
set(QUILLET_PROBE_PAGE_URL "https://127.0.0.1:18443/" CACHE STRING "Connectivity probe: page address")
set(QUILLET_PROBE_MARKER "搜索一下" CACHE STRING "Connectivity probe: four Chinese characters the page carries (UTF-8)")
set(QUILLET_COMMUNITY_URL "https://127.0.0.1:18443/" CACHE STRING "Community site home page")
set(QUILLET_UPDATE_SERVER_URL "http://127.0.0.1:18080" CACHE STRING "Update server address")
set(QUILLET_TIME_SITE_URL "http://127.0.0.1:18080/" CACHE STRING "Plain-HTTP site whose Date header serves as server clock")

string(LENGTH "${QUILLET_APP_KEY}" _quillet_key_length)
if(NOT _quillet_key_length EQUAL 32)
  message(FATAL_ERROR "QUILLET_APP_KEY must be 32 characters long")
endif()
if(NOT QUILLET_ACCOUNT_BASE_URL MATCHES "/$")
  message(FATAL_ERROR "QUILLET_ACCOUNT_BASE_URL must end with /")
endif()
