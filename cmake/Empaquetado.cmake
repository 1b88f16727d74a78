# The program's version, and the packages CPack makes of it: a Debian package
# on Linux; on Windows a ZIP archive of the program with Qt beside it, and an
# installer.
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
# On Windows the installation is one folder that runs on its own, wherever it
# is put: mondrix.exe, the Qt libraries, plugins and Spanish texts it uses,
# the other libraries those need, and LICENSE. CPack makes a ZIP of it and an
# installer for the current user (NSIS, from cmake/NSIS.template.in).
#
# scripts/paquete builds the Debian package, scripts/windows the Windows ones.

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
    # What the program loads, beside it: Qt's libraries it imports, the
    # windows platform and style plugins (Qt looks for them in platforms/ and
    # styles/ beside the program), Qt's Spanish texts (Sí/No in the boxes;
    # QLibraryInfo puts the translations folder beside a program that has
    # QtCore beside it), and every further library those need, from Qt's and
    # the compiler's folders. Qt's deployment script does not run when
    # cross-compiling with Qt 6.4, and would bring more than this.
    install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
    install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
    if(TARGET Qt6::QModernWindowsStylePlugin)  # its name from Qt 6.7 on
        install(FILES $<TARGET_FILE:Qt6::QModernWindowsStylePlugin> DESTINATION styles)
    else()
        install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
    endif()

    # Qt's Spanish texts are the same files on every system: a cross build
    # takes the build machine's (Debian's qt6-translations-l10n), a native
    # one Qt's own.
    if(CMAKE_CROSSCOMPILING)
        set(_mondrix_traducciones /usr/share/qt6/translations)
    else()
        set(_mondrix_traducciones "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}")
    endif()
    find_file(MONDRIX_QTBASE_ES qtbase_es.qm PATHS ${_mondrix_traducciones}
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT MONDRIX_QTBASE_ES)
        message(FATAL_ERROR "qtbase_es.qm (Qt's Spanish texts) not found in ${_mondrix_traducciones}: "
            "install Debian's qt6-translations-l10n, or set MONDRIX_QTBASE_ES to the file")
    endif()
    install(FILES "${MONDRIX_QTBASE_ES}" DESTINATION translations)

    # The compiler's runtime (libgcc_s_seh-1, libstdc++-6, libwinpthread-1)
    # and, with MSYS2's Qt, its further libraries: whatever the installed
    # program and plugins import that lies in these folders. What is left
    # unresolved are Windows' own libraries.
    get_filename_component(_mondrix_bin_compilador "${CMAKE_CXX_COMPILER}" DIRECTORY)
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=libstdc++-6.dll
        OUTPUT_VARIABLE _mondrix_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=libwinpthread-1.dll
        OUTPUT_VARIABLE _mondrix_winpthread OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    # The compiler's own first: Debian's mingw-w64 keeps them in two folders
    # of its own, MSYS2 in its bin folder beside the compiler.
    set(_mondrix_carpetas_dll)
    foreach(_dll IN ITEMS "${_mondrix_libstdcxx}" "${_mondrix_winpthread}")
        if(IS_ABSOLUTE "${_dll}")
            get_filename_component(_carpeta "${_dll}" DIRECTORY)
            list(APPEND _mondrix_carpetas_dll "${_carpeta}")
        endif()
    endforeach()
    list(APPEND _mondrix_carpetas_dll "${_mondrix_bin_compilador}" "$<TARGET_FILE_DIR:Qt6::Core>")
    install(CODE "
        set(_carpetas \"${_mondrix_carpetas_dll}\")
        set(_objdump \"${CMAKE_OBJDUMP}\")
        set(_strip \"${CMAKE_STRIP}\")
    ")
    install(CODE [[
        set(_destino "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
        if(CMAKE_HOST_UNIX)
            set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
            set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
            set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${_objdump}")
        endif()
        file(GLOB _modulos "${_destino}/*.dll" "${_destino}/platforms/*.dll" "${_destino}/styles/*.dll")
        file(GET_RUNTIME_DEPENDENCIES
            EXECUTABLES "${_destino}/mondrix.exe"
            LIBRARIES ${_modulos}
            DIRECTORIES ${_carpetas}
            PRE_EXCLUDE_REGEXES "^[Aa][Pp][Ii]-[Mm][Ss]-" "^[Ee][Xx][Tt]-[Mm][Ss]-"
            POST_EXCLUDE_REGEXES "[/\\][Ww][Ii][Nn][Dd][Oo][Ww][Ss][/\\]"
            RESOLVED_DEPENDENCIES_VAR _resueltas
            UNRESOLVED_DEPENDENCIES_VAR _de_windows)
        foreach(_dll IN LISTS _resueltas)
            get_filename_component(_nombre "${_dll}" NAME)
            if(NOT EXISTS "${_destino}/${_nombre}")
                file(INSTALL "${_dll}" DESTINATION "${_destino}")
                # The compiler's runtime comes with its symbols (23 MB for libstdc++).
                if(CMAKE_INSTALL_DO_STRIP AND _strip)
                    execute_process(COMMAND "${_strip}" --strip-unneeded "${_destino}/${_nombre}")
                endif()
            endif()
        endforeach()
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
    set(CPACK_GENERATOR ZIP NSIS)
    # mondrix-<version>-win64.zip, which unpacks into one folder of that
    # name, and mondrix-<version>-win64-setup.exe (CpackGenerador.cmake).
    set(CPACK_PACKAGE_FILE_NAME "mondrix-${PROJECT_VERSION}-win64")
    set(CPACK_PROJECT_CONFIG_FILE "${_mondrix_raiz}/cmake/CpackGenerador.cmake")
    # The installer from our own template (per user, no administrator rights).
    set(CPACK_MODULE_PATH "${_mondrix_raiz}/cmake")
    set(CPACK_PACKAGE_INSTALL_DIRECTORY Mondrix)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Mondrix)
    set(CPACK_NSIS_PACKAGE_NAME "Mondrix ${PROJECT_VERSION}")
    set(CPACK_NSIS_DISPLAY_NAME "Mondrix")
    set(CPACK_NSIS_MUI_ICON "${_mondrix_raiz}/data/icons/mondrix.ico")
    set(CPACK_NSIS_MUI_UNIICON "${_mondrix_raiz}/data/icons/mondrix.ico")
    set(CPACK_NSIS_URL_INFO_ABOUT "${MONDRIX_WEB}")
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
