# Where each edition's module lies in the build tree and is installed, and the one function that
# makes every module hosts load.

# The bundle folders in the build tree, as hosts find them (LV2_PATH, VST3 paths). A VST 3
# bundle keeps each architecture's module in a folder named as VST 3 hosts look for it.
set(QVL_LV2_FOLDER ${PROJECT_BINARY_DIR}/lv2)
set(QVL_LV2_BUNDLE_DIR ${QVL_LV2_FOLDER}/${QVL_MODULE_NAME}.lv2)
set(QVL_VST3_BUNDLE_DIR ${PROJECT_BINARY_DIR}/vst3/${QVL_MODULE_NAME}.vst3)
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QVL_VST3_ARCH_FOLDER x86_64-win)
  else()
    set(QVL_VST3_ARCH_FOLDER x86-win)
  endif()
else()
  set(QVL_VST3_ARCH_FOLDER ${CMAKE_SYSTEM_PROCESSOR}-linux)
endif()

# Where hosts look for each edition under the install prefix. A Windows build's install tree
# holds the VST 2.4 and CLAP modules at its top and the VST 3 bundle beside them (as a component
# of its own: the .zip joins both architectures' binaries into one bundle).
if(WIN32)
  set(QVL_VST2_INSTALL_DIR .)
  set(QVL_CLAP_INSTALL_DIR .)
  set(QVL_VST3_INSTALLED_BUNDLE ${QVL_MODULE_NAME}.vst3)
else()
  set(QVL_VST2_INSTALL_DIR lib/vst)
  set(QVL_CLAP_INSTALL_DIR lib/clap) # per user: ~/.clap
  set(QVL_VST3_INSTALL_DIR lib/vst3)
  set(QVL_LV2_INSTALL_DIR lib/lv2)
  set(QVL_VST3_INSTALLED_BUNDLE ${QVL_VST3_INSTALL_DIR}/${QVL_MODULE_NAME}.vst3)
endif()

# qvl_add_plugin_module(<target> FORMAT <vst2|vst3|clap|lv2> SOURCES <entry point...>
#                       LIBRARIES <adapter...> [NAME_SUFFIX <suffix>] [EDITOR])
#
# Makes the module hosts load for one edition: named QVL_MODULE_NAME (plus NAME_SUFFIX) with the
# format's file suffix, in the format's bundle where it has one (in the build tree and when
# installed), exporting the format's entry points and nothing else (exports.map beside the
# format's sources, one list for both LV2 binaries; on Windows exports.def where the format lists its exports there), linked
# with every symbol resolved. On Windows it carries the platform layer (DllMain, the images) and its own version
# resource. With EDITOR it carries the editor the build can make (formats/common/ModuleEditor.h:
# the system's, or none without a platform layer) and stays loaded once opened, because the
# editor's libraries (cairo, pixman, fontconfig, X11) keep process-wide state from their load
# constructors on and unloading them with the module would strand it.
function(qvl_add_plugin_module target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "EDITOR" "FORMAT;NAME_SUFFIX" "SOURCES;LIBRARIES")
  set(folder ${PROJECT_SOURCE_DIR}/formats/${arg_FORMAT})
  add_library(${target} MODULE ${arg_SOURCES})
  target_link_libraries(${target} PRIVATE ${arg_LIBRARIES})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME
                                             ${QVL_MODULE_NAME}${arg_NAME_SUFFIX})

  set(component)
  if(arg_FORMAT STREQUAL "vst2")
    set(destination ${QVL_VST2_INSTALL_DIR})
  elseif(arg_FORMAT STREQUAL "clap")
    set_target_properties(${target} PROPERTIES SUFFIX ".clap")
    set(destination ${QVL_CLAP_INSTALL_DIR})
  elseif(arg_FORMAT STREQUAL "vst3")
    # A Windows VST 3 module is a DLL named .vst3.
    if(WIN32)
      set_target_properties(${target} PROPERTIES SUFFIX ".vst3")
      set(component COMPONENT vst3)
    endif()
    set(contents Contents/${QVL_VST3_ARCH_FOLDER})
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY
                                               ${QVL_VST3_BUNDLE_DIR}/${contents})
    set(destination ${QVL_VST3_INSTALLED_BUNDLE}/${contents})
  elseif(arg_FORMAT STREQUAL "lv2")
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${QVL_LV2_BUNDLE_DIR})
    set(destination ${QVL_LV2_INSTALL_DIR}/${QVL_MODULE_NAME}.lv2)
  else()
    message(FATAL_ERROR "qvl_add_plugin_module: no format '${arg_FORMAT}'")
  endif()

  if(arg_EDITOR)
    if(TARGET qvl_system_editor)
      target_sources(${target} PRIVATE
                     ${PROJECT_SOURCE_DIR}/formats/common/SystemModuleEditor.cpp)
      target_link_libraries(${target} PRIVATE qvl_system_editor)
      if(NOT WIN32)
        target_link_options(${target} PRIVATE -Wl,-z,nodelete)
      endif()
    else()
      target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/formats/common/NoModuleEditor.cpp)
      target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    endif()
  endif()

  if(WIN32)
    target_link_libraries(${target} PRIVATE qvl_platform qvl_${arg_FORMAT}_version_resource)
    if(EXISTS ${folder}/exports.def)
      target_sources(${target} PRIVATE ${folder}/exports.def)
    endif()
    # GetPluginFactory is __stdcall, which 32-bit Windows exports as "GetPluginFactory@0";
    # hosts ask for the plain name.
    if(arg_FORMAT STREQUAL "vst3")
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
  else()
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
    set_property(TARGET ${target} PROPERTY LINK_DEPENDS ${folder}/exports.map)
    target_link_options(${target} PRIVATE -Wl,--version-script=${folder}/exports.map)
  endif()

  install(TARGETS ${target} LIBRARY DESTINATION ${destination} ${component})
endfunction()
