# What a distributor chooses when it builds the program: its update server, its
# publisher key and the largest package taken. Checked here, so a build that would
# install from an unsafe source does not get made by mistake.

set(THERMOLYX_SOFTWARE_UPDATE_URL "https://updates.example.com/caloryn/software/" CACHE STRING
    "Folder on the update server with the software's version file and packages (https, ends in /)")
set(THERMOLYX_FIRMWARE_UPDATE_URL "https://updates.example.com/caloryn/firmware/" CACHE STRING
    "Folder on the update server with the firmware's version file and packages (https, ends in /)")
option(THERMOLYX_ALLOW_INSECURE_HTTP_UPDATES
    "Accept http:// update URLs: anyone on the network can then change what the program installs" OFF)
set(THERMOLYX_PUBLISHER_KEY "" CACHE STRING
    "The publisher's ECDSA P-256 public key in hex (X then Y, or 04 X Y), from scripts/sign-package.sh; empty: unsigned updates")
set(THERMOLYX_MAX_PACKAGE_BYTES 268435456 CACHE STRING "The largest update package the program downloads, in bytes")

foreach(url THERMOLYX_SOFTWARE_UPDATE_URL THERMOLYX_FIRMWARE_UPDATE_URL)
    if(${url} MATCHES "^https://[^/]+.*/$")
        continue()
    endif()
    if(${url} MATCHES "^http://[^/]+.*/$" AND THERMOLYX_ALLOW_INSECURE_HTTP_UPDATES)
        message(WARNING "${url} is plain http ('${${url}}'): anyone on the network between the program and "
            "its server can change what it installs as administrator (THERMOLYX_ALLOW_INSECURE_HTTP_UPDATES is ON)")
        continue()
    endif()
    message(FATAL_ERROR "${url} must be an https address ending in /, not '${${url}}'. Over plain http "
        "anyone on the network decides what the program installs; THERMOLYX_ALLOW_INSECURE_HTTP_UPDATES=ON "
        "accepts http anyway.")
endforeach()

string(TOLOWER "${THERMOLYX_PUBLISHER_KEY}" key)
string(LENGTH "${key}" key_length)
if(key STREQUAL "")
    message(WARNING "THERMOLYX_PUBLISHER_KEY is not set: updates are unsigned. Whoever controls the update "
        "server decides what the program starts as administrator. See the README's security section.")
elseif(NOT key MATCHES "^[0-9a-f]+$" OR NOT (key_length EQUAL 128 OR (key_length EQUAL 130 AND key MATCHES "^04")))
    message(FATAL_ERROR "THERMOLYX_PUBLISHER_KEY must be an ECDSA P-256 public key in hex: 128 digits (X then Y) "
        "or 130 starting with 04, as scripts/sign-package.sh prints it")
endif()

if(NOT THERMOLYX_MAX_PACKAGE_BYTES MATCHES "^[1-9][0-9]*$")
    message(FATAL_ERROR "THERMOLYX_MAX_PACKAGE_BYTES must be a positive number of bytes, not '${THERMOLYX_MAX_PACKAGE_BYTES}'")
endif()
