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

configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildSettings.h.in
               ${CMAKE_BINARY_DIR}/generated/BuildSettings.h @ONLY)
add_library(qvs_settings INTERFACE)
target_include_directories(qvs_settings INTERFACE ${CMAKE_BINARY_DIR}/generated)
