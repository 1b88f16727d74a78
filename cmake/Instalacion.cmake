# The program's icons, its desktop integration and its installation.
#
# The top-level CMakeLists.txt includes this file once it has defined the
# executable target `mondrix`:
#
#   qt_add_executable(mondrix ...)
#   include(cmake/Instalacion.cmake)
#
# It adds the icon resources to the target (data/iconos.qrc, and on Windows
# data/mondrix.rc with the icon and the manifest), and installs:
#
#   bin/mondrix                                          (mondrix.exe on Windows)
#   share/applications/org.example.Mondrix.desktop        (Linux and BSD)
#   share/metainfo/org.example.Mondrix.metainfo.xml
#   share/icons/hicolor/<N>x<N>/apps/mondrix.png
#   share/icons/hicolor/scalable/apps/mondrix.svg
#
# The metainfo is made from data/org.example.Mondrix.metainfo.xml.in, whose
# <release> takes PROJECT_VERSION and MONDRIX_FECHA_VERSION from the
# top-level CMakeLists.txt.
#
# The icon files are made by scripts/iconos from data/icons/mondrix.svg and
# kept in the repository, so building needs no image tools.
# scripts/validar-instalacion checks the result of `cmake --install`.

include_guard(GLOBAL)

if(NOT TARGET mondrix)
    message(FATAL_ERROR
        "Instalacion.cmake must be included after the mondrix target is defined")
endif()

include(GNUInstallDirs)

# The repository root, whatever folder includes this file.
get_filename_component(MONDRIX_RAIZ "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(_mondrix_datos "${MONDRIX_RAIZ}/data")

# Sizes rendered by scripts/iconos.
set(MONDRIX_TAMANOS_ICONO 16 22 24 32 48 64 128 256)

# --- Resources built into the program ------------------------------------

# :/iconos/mondrix-16.png ... :/iconos/mondrix-256.png, for the window icon.
get_target_property(_mondrix_autorcc mondrix AUTORCC)
if(_mondrix_autorcc)
    target_sources(mondrix PRIVATE "${_mondrix_datos}/iconos.qrc")
else()
    qt_add_resources(_mondrix_recursos_iconos "${_mondrix_datos}/iconos.qrc")
    target_sources(mondrix PRIVATE ${_mondrix_recursos_iconos})
endif()

# The icon Explorer and the taskbar show for mondrix.exe, and its manifest.
# The .rc names both relative to data/, which rc.exe and windres both search
# once it is an include folder of that one source.
if(WIN32)
    set(_mondrix_rc "${_mondrix_datos}/mondrix.rc")
    target_sources(mondrix PRIVATE "${_mondrix_rc}")
    set_property(SOURCE "${_mondrix_rc}" APPEND PROPERTY
        INCLUDE_DIRECTORIES "${_mondrix_datos}")
    set_property(SOURCE "${_mondrix_rc}" APPEND PROPERTY
        OBJECT_DEPENDS "${_mondrix_datos}/icons/mondrix.ico;${_mondrix_datos}/mondrix.manifest")
endif()

# --- Installation ----------------------------------------------------------

# On Windows the program sits at the top of its folder, where a user who
# unpacked the ZIP looks for it, with the libraries it loads beside it.
if(WIN32)
    set(_mondrix_destino_programa .)
else()
    set(_mondrix_destino_programa "${CMAKE_INSTALL_BINDIR}")
endif()
install(TARGETS mondrix
    RUNTIME DESTINATION "${_mondrix_destino_programa}"
    BUNDLE DESTINATION .)

if(UNIX AND NOT APPLE)
    if(NOT MONDRIX_FECHA_VERSION MATCHES "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
        message(FATAL_ERROR
            "MONDRIX_FECHA_VERSION must hold the day of version ${PROJECT_VERSION} as YYYY-MM-DD")
    endif()
    configure_file("${_mondrix_datos}/org.example.Mondrix.metainfo.xml.in"
        "${CMAKE_CURRENT_BINARY_DIR}/org.example.Mondrix.metainfo.xml" @ONLY)

    install(FILES "${_mondrix_datos}/org.example.Mondrix.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    install(FILES "${CMAKE_CURRENT_BINARY_DIR}/org.example.Mondrix.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

    foreach(_n IN LISTS MONDRIX_TAMANOS_ICONO)
        install(FILES "${_mondrix_datos}/icons/hicolor/${_n}x${_n}/apps/mondrix.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_n}x${_n}/apps")
    endforeach()
    install(FILES "${_mondrix_datos}/icons/hicolor/scalable/apps/mondrix.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()

unset(_mondrix_autorcc)
unset(_mondrix_destino_programa)
unset(_mondrix_datos)
unset(_mondrix_rc)
unset(_n)
