# Hosts and addresses compiled into the launcher. The defaults are loopback
# addresses so that a plain build talks to the demo's local qvs-server; a
# release build sets the real ones with -D on the cmake command line.
set(QVS_UPDATE_WEB_HOST "127.0.0.1:8080" CACHE STRING "Update web host, with optional :port")
set(QVS_SERVER_HOST "127.0.0.1" CACHE STRING "Host of the update server and the game server")
set(QVS_DEFAULT_GAME_SERVER "127.0.0.2" CACHE STRING "Built-in fallback address of the game server")
set(QVS_GAME_WEB_SITE "http://127.0.0.1:8080" CACHE STRING "The game's web site, without trailing slash")
set(QVS_SUPPORT_EMAIL "support@quorvash.invalid" CACHE STRING "Support e-mail address")
set(QVS_ERROR_REPORT_EMAIL "errors@quorvash.invalid" CACHE STRING "Error report e-mail address")
set(QVS_JAVA_SITE "https://www.java.com" CACHE STRING "The Java vendor's site")
set(QVS_AD_CLICK_URL "http://127.0.0.1:8080/ads/click" CACHE STRING "Advertising network's redirect address")
set(QVS_AD_BANNER_URL "http://127.0.0.1:8080/ads/banner" CACHE STRING "Advertising network's banner address")
set(QVS_AD_HOST "quorvash" CACHE STRING "The game's account with the advertising network")
set(QVS_UPDATE_PUBLIC_KEYS "" CACHE STRING
    "Ed25519 public keys (base64 of 32 bytes, separated by commas) that may sign updates; empty: updates are not checked")

# The keys as one comma-separated text for the generated header; each must
# be 32 bytes in base64 (44 characters, one "=").
string(REGEX REPLACE "[ ;,]+" "," QVS_UPDATE_PUBLIC_KEYS_TEXT "${QVS_UPDATE_PUBLIC_KEYS}")
string(REGEX REPLACE "^,|,$" "" QVS_UPDATE_PUBLIC_KEYS_TEXT "${QVS_UPDATE_PUBLIC_KEYS_TEXT}")
string(REPLACE "," ";" qvs_update_keys "${QVS_UPDATE_PUBLIC_KEYS_TEXT}")
foreach(qvs_key IN LISTS qvs_update_keys)
    string(LENGTH "${qvs_key}" qvs_key_length)
    if(NOT qvs_key_length EQUAL 44 OR NOT qvs_key MATCHES "^[A-Za-z0-9+/]+=$")
        message(FATAL_ERROR "QVS_UPDATE_PUBLIC_KEYS: not an Ed25519 public key in base64: ${qvs_key}")
    endif()
endforeach()
set(qvs_loopback "^(127\\.[0-9.]+|localhost|\\[?::1\\]?)(:[0-9]+)?$")
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT qvs_update_keys
   AND (NOT QVS_SERVER_HOST MATCHES "${qvs_loopback}"
        OR NOT QVS_UPDATE_WEB_HOST MATCHES "${qvs_loopback}"))
    message(WARNING "A Release build for ${QVS_SERVER_HOST} and ${QVS_UPDATE_WEB_HOST} without "
                    "QVS_UPDATE_PUBLIC_KEYS: the launcher installs whatever the network hands it. "
                    "Set the public key of your update signing key (README.md, \"Signing updates\").")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildSettings.h.in
               ${CMAKE_BINARY_DIR}/generated/BuildSettings.h @ONLY)
add_library(qvs_settings INTERFACE)
target_include_directories(qvs_settings INTERFACE ${CMAKE_BINARY_DIR}/generated)
