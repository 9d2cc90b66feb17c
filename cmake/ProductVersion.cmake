# The product's version in every spelling it is shown in, all made from the project's version
# and release label (the top-level CMakeLists.txt), so that a release changes them in one place:
#   QVL_VERSION_NUMBER  "0.9.03"       the version-check link; the patch has two digits
#   QVL_VERSION_TEXT    "0.9.03 beta"  the panel, the tools, the Windows version resource
#   QVL_PACKAGE_VERSION "0.9.03~beta"  Debian's spelling: "~" sorts a beta before its release
#   QVL_FILE_VERSION    "0,9,3,0"      the numeric file version of the Windows resource
# The target qvl_version gives C++ code the header ProductVersion.h with the first two and the
# product's and vendor's names.

set(_qvl_patch ${PROJECT_VERSION_PATCH})
if(_qvl_patch LESS 10)
  set(_qvl_patch "0${_qvl_patch}")
endif()
set(QVL_VERSION_NUMBER "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${_qvl_patch}")
if(QVL_RELEASE_LABEL)
  set(QVL_VERSION_TEXT "${QVL_VERSION_NUMBER} ${QVL_RELEASE_LABEL}")
  set(QVL_PACKAGE_VERSION "${QVL_VERSION_NUMBER}~${QVL_RELEASE_LABEL}")
else()
  set(QVL_VERSION_TEXT "${QVL_VERSION_NUMBER}")
  set(QVL_PACKAGE_VERSION "${QVL_VERSION_NUMBER}")
endif()
set(QVL_FILE_VERSION
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")

set(_qvl_version_dir ${PROJECT_BINARY_DIR}/generated/version)
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProductVersion.h.in ${_qvl_version_dir}/ProductVersion.h
               @ONLY)
add_library(qvl_version INTERFACE)
target_include_directories(qvl_version INTERFACE ${_qvl_version_dir})
