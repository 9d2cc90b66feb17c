# The Windows setup program, from cmake/Packaging.cmake once both Windows builds are configured.
# CPack's External generator stages the same files as the .zip (each build's install tree in its
# architecture's folder, the manual at the top) and MakeWindowsSetup.cmake runs makensis on
# setup.nsi. Needs makensis (nsis) and ImageMagick for the pictures.
find_program(QVL_MAKENSIS makensis)
# Debian's versioned name first: a plain "convert" earlier on the PATH may be something else.
find_program(QVL_IMAGEMAGICK NAMES convert-im6.q16 convert)
if(NOT QVL_MAKENSIS OR NOT QVL_IMAGEMAGICK)
  message(STATUS "Packages: no Windows setup program; install nsis and imagemagick")
  return()
endif()
list(APPEND CPACK_GENERATOR External)

set(_qvl_setup_dir ${_qvl_staging}/setup)
file(MAKE_DIRECTORY ${_qvl_setup_dir}/files)
foreach(file ${_qvl_manual})
  configure_file(${file} ${_qvl_setup_dir}/files/ COPYONLY)
endforeach()

# The setup program's pictures, cut from the editor's artwork at 200 %: its icon (and its entry's
# in Apps & features) is the knob (frames of 140 x 140 side by side; frame 50 points straight
# up), the welcome page's side picture the MAKEUP column of the panel with its knob in place
# (editor/ControlRects.h: makeUpKnob at 607, 48). The DRY MIX label near its foot belongs to a
# knob the picture cannot hold, so plain panel from above it covers the label.
set(QVL_SETUP_ICON ${_qvl_setup_dir}/${QVL_PACKAGE_NAME}.ico)
set(QVL_SETUP_SIDE_PICTURE ${_qvl_setup_dir}/welcome.bmp)
set(_qvl_knob_strip ${PROJECT_SOURCE_DIR}/resources/png/20202.png)
set(_qvl_background ${PROJECT_SOURCE_DIR}/resources/png/20201.png)
add_custom_command(
  OUTPUT ${QVL_SETUP_ICON} ${QVL_SETUP_SIDE_PICTURE}
  COMMAND ${QVL_IMAGEMAGICK} ${_qvl_knob_strip} -crop 140x140+7000+0 +repage
          -define icon:auto-resize=48,32,16 ${QVL_SETUP_ICON}
  COMMAND ${QVL_IMAGEMAGICK} ${_qvl_background} -crop 164x314+1208+50 +repage
          ( ${_qvl_knob_strip} -crop 140x140+9100+0 +repage ) -geometry +6+46 -composite
          ( ${_qvl_background} -crop 164x32+1208+245 +repage ) -geometry +0+258 -composite
          -alpha off BMP3:${QVL_SETUP_SIDE_PICTURE}
  DEPENDS ${_qvl_knob_strip} ${_qvl_background}
  COMMENT "Pictures of the Windows setup program"
  VERBATIM)
add_custom_target(qvl-setup-pictures ALL DEPENDS ${QVL_SETUP_ICON} ${QVL_SETUP_SIDE_PICTURE})

string(REPLACE "," "." QVL_SETUP_FILE_VERSION "${QVL_FILE_VERSION}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/setup-product.nsh.in ${_qvl_setup_dir}/setup-product.nsh
               @ONLY)
set(CPACK_QVL_MAKENSIS ${QVL_MAKENSIS})
set(CPACK_QVL_SETUP_PRODUCT ${_qvl_setup_dir}/setup-product.nsh)
set(CPACK_QVL_SETUP_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/setup.nsi)
set(CPACK_QVL_SETUP_FILES ${_qvl_setup_dir}/files)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/MakeWindowsSetup.cmake)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
