# Installation as Debian and freedesktop expect, and the Debian package (CPack):
#   bin/zorvi, bin/zorvi-coupons (and other tools)    the program and the command-line tools
#   libexec/zorvi/AudioLoop                           the background sound helper
#   share/zorvi/{html,audio,*.hex}                    what the program reads from its
#                                                     program folder: pages, voices (with
#                                                     audio/AudioLoop linking to the helper)
#                                                     and the sample coupon series
#   share/applications, share/metainfo, share/icons   desktop entry, AppStream data, icon
# The installed program finds share/zorvi from its own location (bin/../share/zorvi).
include(GNUInstallDirs)

set(ZORVI_APP_ID fi.zorvi.Zorvi)
set(ZORVI_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/zorvi)
set(ZORVI_HELPER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/zorvi)

if(TARGET zorvi)
  install(TARGETS zorvi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
foreach(tool zorvi-coupons zorvi-draws)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET AudioLoop)
  if(WIN32)
    install(TARGETS AudioLoop RUNTIME DESTINATION ${ZORVI_SHARE_DIR}/audio)
  else()
    # Programs do not belong in share/: the helper lives in libexec, and the program folder
    # holds a relative link to it, so the tree can be moved or unpacked anywhere.
    install(TARGETS AudioLoop RUNTIME DESTINATION ${ZORVI_HELPER_DIR})
    file(RELATIVE_PATH ZORVI_HELPER_LINK /${ZORVI_SHARE_DIR}/audio /${ZORVI_HELPER_DIR}/AudioLoop)
    install(CODE "
      set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZORVI_SHARE_DIR}/audio/AudioLoop\")
      get_filename_component(folder \"\${link}\" DIRECTORY)
      file(MAKE_DIRECTORY \"\${folder}\")
      file(CREATE_LINK \"${ZORVI_HELPER_LINK}\" \"\${link}\" SYMBOLIC)
      message(STATUS \"Installing: \${link} -> ${ZORVI_HELPER_LINK}\")")
  endif()
endif()

# The program folder's contents are made at install time in the build tree, so a plain build
# never waits for the voices: the pages, the voices (espeak-ng and sox, reproducible; made once
# and kept) and the sample coupon series (made by the tool just built).
if(UNIX AND TARGET zorvi-coupons)
  set(ZORVI_STAGE ${CMAKE_BINARY_DIR}/program-folder)
  install(CODE "
    execute_process(COMMAND sh \"${PROJECT_SOURCE_DIR}/scripts/prepare-program-folder.sh\"
                            \"${ZORVI_STAGE}\" \"\" \"$<TARGET_FILE:zorvi-coupons>\"
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR \"Preparing the program folder failed (espeak-ng and sox are needed)\")
    endif()")
  install(DIRECTORY ${ZORVI_STAGE}/ DESTINATION ${ZORVI_SHARE_DIR}
          FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
          PATTERN "AudioLoop*" EXCLUDE)
endif()

if(UNIX)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${ZORVI_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${ZORVI_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/${ZORVI_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  # What Debian asks of a package besides the program: the copyright and the changelog in
  # share/doc, the manual pages, and the icon as PNG at the sizes menus use. Compressed with
  # "gzip -n" (no name, no time stamp), so the package is reproducible.
  set(ZORVI_DOC_STAGE ${CMAKE_BINARY_DIR}/package-docs)
  set(ZORVI_DOC_OUTPUTS)
  foreach(page zorvi zorvi-coupons zorvi-draws)
    set(out ${ZORVI_DOC_STAGE}/${page}.1.gz)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORVI_DOC_STAGE}
      COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/data/man/${page}.1 ${out}
      DEPENDS ${PROJECT_SOURCE_DIR}/data/man/${page}.1 VERBATIM)
    list(APPEND ZORVI_DOC_OUTPUTS ${out})
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  set(out ${ZORVI_DOC_STAGE}/changelog.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORVI_DOC_STAGE}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/data/package/changelog ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/package/changelog VERBATIM)
  list(APPEND ZORVI_DOC_OUTPUTS ${out})
  install(FILES ${out} ${PROJECT_SOURCE_DIR}/data/package/copyright
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  find_program(ZORVI_RSVG_CONVERT rsvg-convert)
  if(ZORVI_RSVG_CONVERT)
    foreach(size 48 64 128 256)
      set(out ${ZORVI_DOC_STAGE}/icons/${size}/${ZORVI_APP_ID}.png)
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORVI_DOC_STAGE}/icons/${size}
        COMMAND ${ZORVI_RSVG_CONVERT} -w ${size} -h ${size} -o ${out}
                ${PROJECT_SOURCE_DIR}/data/icons/${ZORVI_APP_ID}.svg
        DEPENDS ${PROJECT_SOURCE_DIR}/data/icons/${ZORVI_APP_ID}.svg VERBATIM)
      list(APPEND ZORVI_DOC_OUTPUTS ${out})
      install(FILES ${out} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  else()
    message(WARNING "rsvg-convert not found: the package gets the SVG icon only")
  endif()
  add_custom_target(zorvi_package_docs ALL DEPENDS ${ZORVI_DOC_OUTPUTS})
endif()

# The Debian package: cpack --config <build>/CPackConfig.cmake
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The ZORVI developers")
set(CPACK_PACKAGE_CONTACT "The ZORVI developers <zorvi@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bingo caller for halls and clubs")
set(CPACK_PACKAGE_DESCRIPTION
    "ZORVI draws bingo numbers (1-75 or 1-90), announces them from voice\n\
recordings in Finnish, Swedish or English, shows them on the operator window,\n\
on a public screen and in the players' browsers, and checks called coupons\n\
against the coupon-series file. Includes zorvi-coupons, which makes, checks\n\
and prints coupon-series files, and zorvi-draws, which checks the game log.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": that section's programs live in /usr/games; this is a hall's tool.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# Shared libraries by dpkg-shlibdeps (the browser engine's helper process among them, from its
# library); what is loaded at run time by name, explicitly: the sound back end's plugins
# (without them the media player crashes) and fonts with Arial's metrics. Each only once.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-liberation")
include(CPack)
