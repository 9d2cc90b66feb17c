# The product's identity in every spelling it is shown or stored in, all made from the top-level
# CMakeLists.txt, so that a release changes them in one place:
#   QVL_VERSION_NUMBER  "0.9.03"       the version-check link; the patch has two digits
#   QVL_VERSION_TEXT    "0.9.03 beta"  the panel, the tools, the Windows version resource
#   QVL_PACKAGE_VERSION "0.9.03~beta"  Debian's spelling: "~" sorts a beta before its release
#   QVL_FILE_VERSION    "0,9,3,0"      the numeric file version of the Windows resource
# The target qvl_identity gives C++ code the header ProductIdentity.h with the first two, the
# product's and vendor's names and pages, and the four formats' IDs; scripts source
# generated/identity/product-identity.sh in the build tree for the names they check.

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

# VST 2.4 hosts read the unique ID as one number, its four characters big-endian.
string(LENGTH "${QVL_VST2_UNIQUE_ID}" _qvl_length)
if(NOT _qvl_length EQUAL 4)
  message(FATAL_ERROR "QVL_VST2_UNIQUE_ID must be four characters, not '${QVL_VST2_UNIQUE_ID}'")
endif()
string(HEX "${QVL_VST2_UNIQUE_ID}" QVL_VST2_UNIQUE_ID_NUMBER)
set(QVL_VST2_UNIQUE_ID_NUMBER "0x${QVL_VST2_UNIQUE_ID_NUMBER}")
# The VST 3 class ID as the C++ words and as the text the editor's pictures are named with.
list(LENGTH QVL_VST3_CLASS_ID _qvl_length)
if(NOT _qvl_length EQUAL 4)
  message(FATAL_ERROR "QVL_VST3_CLASS_ID must be four words, not '${QVL_VST3_CLASS_ID}'")
endif()
list(JOIN QVL_VST3_CLASS_ID "" QVL_VST3_CLASS_ID_TEXT)
list(TRANSFORM QVL_VST3_CLASS_ID PREPEND 0x OUTPUT_VARIABLE _qvl_words)
list(JOIN _qvl_words ", " QVL_VST3_CLASS_ID_WORDS)

set(_qvl_identity_dir ${PROJECT_BINARY_DIR}/generated/identity)
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProductIdentity.h.in
               ${_qvl_identity_dir}/ProductIdentity.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/product-identity.sh.in
               ${_qvl_identity_dir}/product-identity.sh @ONLY)
add_library(qvl_identity INTERFACE)
target_include_directories(qvl_identity INTERFACE ${_qvl_identity_dir})
