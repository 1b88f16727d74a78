# The program's version, and the packages CPack makes of it: a Debian package
# on Linux, a ZIP archive of the program with Qt beside it on Windows.
#
# The top-level CMakeLists.txt includes this file after Instalacion.cmake:
# the packages hold exactly what `cmake --install` places. PROJECT_VERSION
# (from project()) is the one version number: the program reports it
# (QCoreApplication::applicationVersion), the metainfo's <release>, the
# package and its changelog carry it.
#
# On Linux and BSD it also installs what a Debian package must carry:
#
#   share/doc/mondrix/copyright       LICENSE in Debian's machine-readable form
#   share/doc/mondrix/changelog.gz    from data/changelog.in
#   share/man/man1/mondrix.1.gz       from data/mondrix.1.in
#
# On Windows the installation gets Qt's libraries, plugins and translations
# and the other libraries they need, so that the installed folder runs on its
# own, and LICENSE.
#
# scripts/paquete builds the Debian package; see the README for Windows.

include_guard(GLOBAL)

if(NOT TARGET mondrix)
    message(FATAL_ERROR
        "Empaquetado.cmake must be included after the mondrix target is defined")
endif()

include(GNUInstallDirs)

get_filename_component(_mondrix_raiz "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

set(MONDRIX_MANTENEDOR "The Mondrix developers <dev@mondrix.example.org>")
set(MONDRIX_WEB "https://mondrix.example.org/")

target_compile_definitions(mondrix PRIVATE MONDRIX_VERSION="${PROJECT_VERSION}")

# --- What a Debian package must carry ----------------------------------------

if(UNIX AND NOT APPLE)
    set(_mondrix_gen "${CMAKE_CURRENT_BINARY_DIR}/empaquetado")
    file(MAKE_DIRECTORY "${_mondrix_gen}")
    find_program(MONDRIX_GZIP gzip REQUIRED)

    # copyright: the licence's own copyright line and text, so that LICENSE
    # stays the one place they are written.
    file(READ "${_mondrix_raiz}/LICENSE" _mondrix_licencia)
    if(NOT _mondrix_licencia MATCHES "Copyright \\(c\\) ([^\n]+)\n+(Permission.*)$")
        message(FATAL_ERROR "LICENSE: no \"Copyright (c) ...\" line followed by the MIT text")
    endif()
    set(_mondrix_autores "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" _mondrix_texto)
    # A field's continuation lines start with a space; an empty one is " .".
    string(REPLACE "\n\n" "\n.\n" _mondrix_texto "${_mondrix_texto}")
    string(REPLACE "\n" "\n " _mondrix_texto "${_mondrix_texto}")
    file(WRITE "${_mondrix_gen}/copyright"
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
        "Upstream-Name: Mondrix\n"
        "Upstream-Contact: ${MONDRIX_MANTENEDOR}\n"
        "Source: ${MONDRIX_WEB}\n"
        "\n"
        "Files: *\n"
        "Copyright: ${_mondrix_autores}\n"
        # Debian's name for the MIT licence.
        "License: Expat\n"
        " ${_mondrix_texto}\n")

    # The changelog's date in RFC 2822 form, weekday included (lintian checks
    # it), from MONDRIX_FECHA_VERSION; Sakamoto's rule gives the weekday.
    string(REGEX MATCH "^([0-9]+)-0*([0-9]+)-0*([0-9]+)$" _ "${MONDRIX_FECHA_VERSION}")
    set(_anio "${CMAKE_MATCH_1}")
    set(_mes "${CMAKE_MATCH_2}")
    set(_dia "${CMAKE_MATCH_3}")
    set(_desfases 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR _indice "${_mes} - 1")
    list(GET _desfases ${_indice} _desfase)
    set(_a "${_anio}")
    if(_mes LESS 3)
        math(EXPR _a "${_a} - 1")
    endif()
    math(EXPR _semana "(${_a} + ${_a} / 4 - ${_a} / 100 + ${_a} / 400 + ${_desfase} + ${_dia}) % 7")
    set(_dias_semana Sun Mon Tue Wed Thu Fri Sat)
    set(_meses Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET _dias_semana ${_semana} _nombre_dia)
    list(GET _meses ${_indice} _nombre_mes)
    if(_dia LESS 10)
        set(_dia "0${_dia}")
    endif()
    set(MONDRIX_FECHA_CHANGELOG "${_nombre_dia}, ${_dia} ${_nombre_mes} ${_anio} 12:00:00 +0000")

    configure_file("${_mondrix_raiz}/data/changelog.in" "${_mondrix_gen}/changelog" @ONLY)
    configure_file("${_mondrix_raiz}/data/mondrix.1.in" "${_mondrix_gen}/mondrix.1" @ONLY)
    # -n leaves the name and time out, so that the same text packs the same.
    foreach(_mondrix_archivo changelog mondrix.1)
        execute_process(
            COMMAND "${MONDRIX_GZIP}" -9nc "${_mondrix_gen}/${_mondrix_archivo}"
            OUTPUT_FILE "${_mondrix_gen}/${_mondrix_archivo}.gz"
            RESULT_VARIABLE _mondrix_resultado)
        if(NOT _mondrix_resultado EQUAL 0)
            message(FATAL_ERROR "gzip ${_mondrix_archivo}: ${_mondrix_resultado}")
        endif()
    endforeach()

    install(FILES "${_mondrix_gen}/copyright" "${_mondrix_gen}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")
    install(FILES "${_mondrix_gen}/mondrix.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

# --- Windows: a folder that runs on its own -----------------------------------

if(WIN32)
    # Qt's libraries, plugins and translations, by Qt's own deployment tool.
    if(Qt6_VERSION VERSION_LESS 6.5)
        qt_generate_deploy_app_script(TARGET mondrix
            FILENAME_VARIABLE _mondrix_despliegue NO_UNSUPPORTED_PLATFORM_ERROR)
    else()
        qt_generate_deploy_app_script(TARGET mondrix
            OUTPUT_SCRIPT _mondrix_despliegue NO_UNSUPPORTED_PLATFORM_ERROR)
    endif()
    install(SCRIPT "${_mondrix_despliegue}")

    # Qt's tool copies Qt and the compiler's runtime only. A Qt from MSYS2
    # needs further libraries (ICU, HarfBuzz, FreeType, zstd, ...) that sit in
    # its own bin folder: everything installed so far is searched for them.
    install(CODE [[
        set(_destino "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
        file(GLOB_RECURSE _modulos "${_destino}/*.dll")
        file(GET_RUNTIME_DEPENDENCIES
            EXECUTABLES "${_destino}/bin/$<TARGET_FILE_NAME:mondrix>"
            LIBRARIES ${_modulos}
            DIRECTORIES "$<TARGET_FILE_DIR:Qt6::Core>"
            PRE_EXCLUDE_REGEXES "^[Aa][Pp][Ii]-[Mm][Ss]-" "^[Ee][Xx][Tt]-[Mm][Ss]-"
            POST_EXCLUDE_REGEXES "[/\\][Ww][Ii][Nn][Dd][Oo][Ww][Ss][/\\]"
            RESOLVED_DEPENDENCIES_VAR _resueltas
            UNRESOLVED_DEPENDENCIES_VAR _sin_resolver)
        foreach(_dll IN LISTS _resueltas)
            file(INSTALL "${_dll}" DESTINATION "${_destino}/bin")
        endforeach()
        if(_sin_resolver)
            message(WARNING "Libraries not found, not copied: ${_sin_resolver}")
        endif()
    ]])

    install(FILES "${_mondrix_raiz}/LICENSE" DESTINATION .)
endif()

# --- CPack ---------------------------------------------------------------------

set(CPACK_PACKAGE_NAME mondrix)
set(CPACK_PACKAGE_VENDOR "The Mondrix developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${MONDRIX_MANTENEDOR}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${MONDRIX_WEB}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "find and delete the unused resources of RPG Maker XP projects")
set(CPACK_RESOURCE_FILE_LICENSE "${_mondrix_raiz}/LICENSE")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
elseif(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MONDRIX_MANTENEDOR}")
    # The libraries the program links come from dpkg-shlibdeps; these the
    # window needs besides: the comic face of its labels, Qt's Spanish texts,
    # and the desktop's opener behind "Abrir Archivo".
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-comic-neue, qt6-translations-l10n, xdg-utils")
    # After the summary, which CPack puts first.
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Mondrix lists the graphics and audio files of an RPG Maker XP game project
that the game's database and maps never name, lets you review that list, and
deletes the files you decide to delete. One window, in Spanish; no settings.

Mondrix enumera los archivos de gráficos y de audio de un proyecto de juego
del RPG Maker XP que la base de datos y los mapas del juego nunca nombran,
le deja revisar esa lista y borra los archivos que usted decida borrar. Una
sola ventana, en español; sin ajustes.]=])
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
endif()

include(CPack)

unset(_mondrix_raiz)
unset(_mondrix_gen)
