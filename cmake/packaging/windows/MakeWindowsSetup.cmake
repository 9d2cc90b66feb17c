# Run by CPack's External generator (see cmake/Packaging.cmake) once it has staged the Windows
# builds' install trees and the manual: makensis turns them into the setup program.
set(_setup ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.exe)
execute_process(
  COMMAND ${CPACK_QVL_MAKENSIS} -V2 -NOCD "-DQVL_PRODUCT_NSH=${CPACK_QVL_SETUP_PRODUCT}"
          "-DQVL_STAGE=${CPACK_TEMPORARY_DIRECTORY}" "-DQVL_OUTFILE=${_setup}"
          ${CPACK_QVL_SETUP_SCRIPT}
  COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${_setup})
