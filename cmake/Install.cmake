# What `cmake --install` puts beside the two programs (installed by gui/ and cli/):
# the manual pages and, with the viewer, its desktop entry, MIME type and icons.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/docs/man/ekview-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(EKVIEW_BUILD_GUI)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/ekview.1
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    if(UNIX AND NOT APPLE)
        set(share ${CMAKE_INSTALL_DATADIR})
        install(FILES ${PROJECT_SOURCE_DIR}/gui/res/desktop/ekview.desktop
                DESTINATION ${share}/applications)
        install(FILES ${PROJECT_SOURCE_DIR}/gui/res/desktop/ekview-mime.xml
                DESTINATION ${share}/mime/packages RENAME ekview.xml)
        foreach(size 16 32 48 64 128 256)
            install(FILES ${PROJECT_SOURCE_DIR}/gui/res/icons/ekview-${size}.png
                    DESTINATION ${share}/icons/hicolor/${size}x${size}/apps RENAME ekview.png)
        endforeach()
        install(FILES ${PROJECT_SOURCE_DIR}/gui/res/icons/ekview.svg
                DESTINATION ${share}/icons/hicolor/scalable/apps)
        # A package's triggers refresh these caches; a plain install refreshes them
        # itself, so that the desktop knows the new type and entry at once.
        set(refresh [[
            if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
                set(share "${CMAKE_INSTALL_PREFIX}/@share@")
                find_program(update_mime update-mime-database)
                find_program(update_desktop update-desktop-database)
                if(update_mime)
                    execute_process(COMMAND ${update_mime} "${share}/mime")
                endif()
                if(update_desktop)
                    execute_process(COMMAND ${update_desktop} -q "${share}/applications")
                endif()
            endif()
        ]])
        string(REPLACE "@share@" "${share}" refresh "${refresh}")
        install(CODE "${refresh}")

        if(EKVIEW_BUILD_TESTS)
            # Installs into a temporary prefix and checks what a desktop reads there.
            add_test(NAME install_desktop_integration
                     COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check-install.sh
                             ${CMAKE_BINARY_DIR})
        endif()
    endif()
endif()
