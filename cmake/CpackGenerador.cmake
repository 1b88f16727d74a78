# Read by CPack once per generator (CPACK_PROJECT_CONFIG_FILE): the Windows
# installer is named apart from the ZIP, as mondrix-<version>-win64-setup.exe,
# and installs the files themselves, not the folder the ZIP unpacks into.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
