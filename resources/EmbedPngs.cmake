# Writes a C++ source with one byte array per PNG and the table that findEmbeddedPng searches.
# Called at build time: cmake -DPNG_DIR=... -DPNG_IDS="201;202;..." -DOUTPUT=... -P EmbedPngs.cmake
set(arrays "")
set(entries "")
foreach(id ${PNG_IDS})
  file(READ ${PNG_DIR}/${id}.png hex HEX)
  string(LENGTH "${hex}" hex_length)
  if(hex_length EQUAL 0)
    message(FATAL_ERROR "${PNG_DIR}/${id}.png is empty")
  endif()
  # 32 bytes per line keeps the generated file readable in a debugger.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){32})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char png${id}[] = {\n    ${bytes}\n};\n")
  string(APPEND entries "    {${id}, png${id}, sizeof png${id}},\n")
endforeach()

set(content "// Generated from resources/png by EmbedPngs.cmake; do not edit.\n")
string(APPEND content "#include \"resources/EmbeddedPngTable.h\"\n\nnamespace {\n${arrays}} // namespace\n\n")
string(APPEND content "const EmbeddedResource kEmbeddedPngs[] = {\n${entries}};\n")
string(APPEND content "const std::size_t kEmbeddedPngCount = sizeof kEmbeddedPngs / sizeof kEmbeddedPngs[0];\n")
file(WRITE ${OUTPUT} "${content}")
