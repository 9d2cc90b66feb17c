# Release packages, made by `cmake --build --preset release --target package` from the
# project's install() rules, so that whatever a part of the project installs (the VST2 module,
# the tools, a plug-in bundle of another format) joins the Linux packages by itself:
#   qvl-feedback-compressor_<version>_amd64.deb  everything under /usr, dependencies computed
#                                                from the binaries by dpkg-shlibdeps
#   qvl-feedback-compressor-<version>-linux-<arch>.tar.gz  the same files, to copy by hand
#   qvl-feedback-compressor-<version>-windows.zip  the 32- and 64-bit modules (VST 2.4 and
#                                                CLAP) from the Windows builds' own install()
#                                                rules, one VST 3 bundle with both
#                                                architectures' binaries, and the manual
#   qvl-feedback-compressor-<version>-windows-setup.exe  the same files in a setup program
#                                                (cmake/packaging/windows/)
# The Windows packages are made only when both Windows builds are configured (their presets);
# CPack then brings them up to date before it collects their files. Sanitizer builds make no packages.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR QVL_SANITIZER)
  return()
endif()

set(QVL_PACKAGE_NAME ${QVL_MODULE_NAME})
set(QVL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${QVL_PACKAGE_NAME})
set(_qvl_packaging ${CMAKE_CURRENT_LIST_DIR}/packaging)
set(_qvl_staging ${PROJECT_BINARY_DIR}/packaging)
# Dates in the packages follow SOURCE_DATE_EPOCH when it is set, so a release rebuilds bit for bit.
string(TIMESTAMP QVL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP QVL_PACKAGE_YEAR "%Y" UTC)
set(QVL_PACKAGE_MAINTAINER "${QVL_VENDOR_NAME} <packages@velmorinthlabs.com>")
set(QVL_PACKAGE_HOMEPAGE "${QVL_PRODUCT_URL}")

# The documentation of every Linux package: the manual with its pictures, the renderer's guide,
# and the copyright and change log Debian's policy asks of every package (the change log
# compressed, without a time stamp in the gzip header).
configure_file(${_qvl_packaging}/copyright.in ${_qvl_staging}/doc/copyright @ONLY)
configure_file(${_qvl_packaging}/changelog.in ${_qvl_staging}/changelog @ONLY)
execute_process(COMMAND gzip -9nc ${_qvl_staging}/changelog
                OUTPUT_FILE ${_qvl_staging}/doc/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
set(_qvl_manual ${PROJECT_SOURCE_DIR}/docs/manual.md ${PROJECT_SOURCE_DIR}/docs/editor.png
                ${PROJECT_SOURCE_DIR}/docs/editor-200.png)
install(FILES ${_qvl_manual} ${PROJECT_SOURCE_DIR}/docs/qvl-render.md
              ${_qvl_staging}/doc/copyright ${_qvl_staging}/doc/changelog.gz
        DESTINATION ${QVL_DOC_DIR})

# Manual pages for the tools, made from their --help texts so that they never disagree.
find_program(QVL_HELP2MAN help2man)
set(_qvl_tool_summaries
    "qvl-render=render sound files through a VST 2.4 or LV2 plug-in, inspect it, measure its speed"
    "qvl-snapshot=draw the editor of ${QVL_PRODUCT_NAME} into a PNG image")
foreach(entry ${_qvl_tool_summaries})
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 tool)
  list(GET entry 1 summary)
  if(NOT TARGET ${tool})
    continue()
  endif()
  if(NOT QVL_HELP2MAN)
    message(STATUS "Packages: no manual page for ${tool}; install help2man")
    continue()
  endif()
  set(page ${_qvl_staging}/man/${tool}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${QVL_HELP2MAN} --no-info --no-discard-stderr
            "--version-string=${tool} ${QVL_VERSION_TEXT}" "--name=${summary}" -o ${page}
            $<TARGET_FILE:${tool}>
    COMMAND gzip -9nf ${page}
    DEPENDS ${tool}
    COMMENT "Manual page for ${tool}"
    VERBATIM)
  add_custom_target(${tool}-manual-page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# What only one archive carries beside the installed files: the install texts and, for
# Windows, the manual (the Windows builds install just their plug-in files).
file(MAKE_DIRECTORY ${_qvl_staging}/tgz ${_qvl_staging}/zip)
configure_file(${_qvl_packaging}/INSTALL-linux.txt ${_qvl_staging}/tgz/INSTALL.txt COPYONLY)
configure_file(${_qvl_packaging}/INSTALL-windows.txt ${_qvl_staging}/zip/INSTALL.txt COPYONLY)
foreach(file ${_qvl_manual})
  configure_file(${file} ${_qvl_staging}/zip/ COPYONLY)
endforeach()

# The Windows VST 3 bundle shows hosts the same editor snapshots as the Linux one, drawn here.
set(_qvl_vst3_resources "${QVL_VST3_BUNDLE_DIR}/Contents/Resources")

set(QVL_WINDOWS_I686_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/windows-i686 CACHE PATH
    "The 32-bit Windows build whose DLL goes into the Windows package")
set(QVL_WINDOWS_X64_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/windows-x64 CACHE PATH
    "The 64-bit Windows build whose DLL goes into the Windows package")
set(CPACK_GENERATOR DEB TGZ)
if(EXISTS ${QVL_WINDOWS_I686_BUILD_DIR}/CMakeCache.txt
   AND EXISTS ${QVL_WINDOWS_X64_BUILD_DIR}/CMakeCache.txt)
  list(APPEND CPACK_GENERATOR ZIP)
  include(${_qvl_packaging}/windows/WindowsSetup.cmake)
else()
  message(STATUS "Packages: no Windows .zip or setup program; configure the windows-i686 and "
                 "windows-x64 presets first")
endif()

set(CPACK_PACKAGE_NAME ${QVL_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "${QVL_VENDOR_NAME}")
set(CPACK_PACKAGE_VERSION "${QVL_PACKAGE_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo feedback compressor plug-in (VST 2.4, VST 3, LV2, CLAP)")
# Debian wants description lines shorter than 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "${QVL_PRODUCT_NAME} is a stereo compressor with feedback detection:"
       "the level detector listens to the compressor's own output through a"
       "mid/side sidechain filter, and one gain for both channels follows"
       "threshold, soft knee, ratio, attack and a two-stage release."
       "The package holds the plug-in in four editions for Linux hosts,"
       "VST 2.4, VST 3, LV2 and CLAP, with the same sound, editor and factory"
       "programs, and two tools: the offline renderer qvl-render and"
       "qvl-snapshot, which draws the editor into a picture.")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)

set(CPACK_DEBIAN_PACKAGE_NAME ${QVL_PACKAGE_NAME})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QVL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QVL_PACKAGE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Per-archive settings (install prefix, file name, contents) are read by CPack for each
# generator from this file.
set(QVL_PACKAGE_FILE_BASE "${QVL_PACKAGE_NAME}-${QVL_VERSION_NUMBER}")
if(QVL_RELEASE_LABEL)
  string(APPEND QVL_PACKAGE_FILE_BASE "-${QVL_RELEASE_LABEL}")
endif()
configure_file(${_qvl_packaging}/CPackPerGenerator.cmake.in
               ${_qvl_staging}/CPackPerGenerator.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${_qvl_staging}/CPackPerGenerator.cmake)
include(CPack)
