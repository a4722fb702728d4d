# The version header, the installed program's files beyond the executables, and the Debian
# package made by `cpack -G DEB` (scripts/package). One file, so the top CMakeLists.txt stays short.
include(GNUInstallDirs)

# The version, set once in project(VERSION ...), reaches the code through a generated header.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/quelna_version.h.in
               ${CMAKE_CURRENT_BINARY_DIR}/generated/quelna_version.h @ONLY)
target_include_directories(quelna_core PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/generated)

set(QUELNA_DIST ${CMAKE_CURRENT_SOURCE_DIR}/dist)
set(QUELNA_DIST_OUT ${CMAKE_CURRENT_BINARY_DIR}/dist)
# The date of the release named by project(VERSION); the changelog and the metainfo show it.
set(QUELNA_RELEASE_DATE "2026-12-09")
set(QUELNA_RELEASE_DATE_RFC2822 "Wed, 09 Dec 2026 00:00:00 +0000")
set(QUELNA_PACKAGE_MAINTAINER "quelna developers <quelna@quelna.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

# AppStream wants a reverse domain name as the component's id and file name.
set(QUELNA_APPSTREAM_ID org.quelna.quelna)
set(QUELNA_METAINFO ${QUELNA_DIST_OUT}/${QUELNA_APPSTREAM_ID}.metainfo.xml)
configure_file(${QUELNA_DIST}/quelna.metainfo.xml.in ${QUELNA_METAINFO} @ONLY)
configure_file(${QUELNA_DIST}/changelog.in ${QUELNA_DIST_OUT}/changelog @ONLY)

# Debian keeps manual pages and changelogs compressed; -n leaves the time out, so the bytes
# depend on the text only.
find_program(QUELNA_GZIP gzip)
set(QUELNA_DOC_OUTPUTS)
if(QUELNA_GZIP)
    add_custom_command(OUTPUT ${QUELNA_DIST_OUT}/changelog.gz
        COMMAND ${QUELNA_GZIP} -n -9 -k -f ${QUELNA_DIST_OUT}/changelog
        DEPENDS ${QUELNA_DIST_OUT}/changelog VERBATIM)
    list(APPEND QUELNA_DOC_OUTPUTS ${QUELNA_DIST_OUT}/changelog.gz)
    if(TARGET quelna-cli AND NOT CMAKE_CROSSCOMPILING) # it runs the program it documents
        # The manual page is made from `quelna-cli --help`, so the two never disagree.
        add_custom_command(OUTPUT ${QUELNA_DIST_OUT}/quelna-cli.1.gz
            COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:quelna-cli> -DVERSION=${PROJECT_VERSION}
                    -DDATE=${QUELNA_RELEASE_DATE} -DOUT=${QUELNA_DIST_OUT}/quelna-cli.1
                    -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/man_page.cmake
            COMMAND ${QUELNA_GZIP} -n -9 -f ${QUELNA_DIST_OUT}/quelna-cli.1
            DEPENDS quelna-cli ${CMAKE_CURRENT_SOURCE_DIR}/cmake/man_page.cmake VERBATIM)
        list(APPEND QUELNA_DOC_OUTPUTS ${QUELNA_DIST_OUT}/quelna-cli.1.gz)
        install(FILES ${QUELNA_DIST_OUT}/quelna-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
    if(TARGET quelna)
        configure_file(${QUELNA_DIST}/quelna.1 ${QUELNA_DIST_OUT}/quelna.1 COPYONLY)
        add_custom_command(OUTPUT ${QUELNA_DIST_OUT}/quelna.1.gz
            COMMAND ${QUELNA_GZIP} -n -9 -k -f ${QUELNA_DIST_OUT}/quelna.1
            DEPENDS ${QUELNA_DIST_OUT}/quelna.1 VERBATIM)
        list(APPEND QUELNA_DOC_OUTPUTS ${QUELNA_DIST_OUT}/quelna.1.gz)
        install(FILES ${QUELNA_DIST_OUT}/quelna.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
    add_custom_target(quelna-docs ALL DEPENDS ${QUELNA_DOC_OUTPUTS})
    install(FILES ${QUELNA_DIST_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(FILES ${QUELNA_DIST}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${QUELNA_DIST}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME quelna)

if(TARGET quelna)
    install(FILES ${QUELNA_DIST}/quelna.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${QUELNA_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_PACKAGE_NAME quelna)
set(CPACK_PACKAGE_VENDOR "quelna developers")
set(CPACK_PACKAGE_CONTACT "${QUELNA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Swiss-system seating for Riichi-mahjong tournaments")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # quelna_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUELNA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# One paragraph in English, one in Russian, below the summary line; CPack indents the lines
# for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A desktop program for the organiser of a Riichi-mahjong tournament played
by a Swiss system: 12 to 200 players, four to a table, 2 to 12 rounds. It
seats every round so that players of similar standing meet and nobody meets
an earlier table-mate or a team-mate again, takes the points of every table,
saves tournament files and shows seatings, results and standings as
full-screen slides on a projector. quelna-cli seats rounds and plays
simulated tournaments without a window.
.
Рассадка игроков турнира по риичи-маджонгу по швейцарской системе: от 12
до 200 игроков, от 2 до 12 туров. Программа рассаживает каждый тур,
принимает очки столов, сохраняет турнир в файл и показывает рассадку,
результаты и таблицу на проекторе.")
# Qt, libqrencode and the rest come from the executables' links. The slides ask for Arial,
# which fontconfig maps to Liberation Sans; with Liberation alone the windows' sans-serif would
# fall to Liberation Mono, so DejaVu Sans is there for them. Qt's own dialogs read their Russian
# from the translations, and the platform plugins are only recommended by Qt's packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-dejavu-core, qt6-translations-l10n, qt6-qpa-plugins")
include(CPack)
