# The dataset files are XML data packets, read and written with pugixml.
# On Linux we use Debian's build of it; the Windows cross-build compiles the
# same library from its Debian source package (ZUL_PUGIXML_SOURCE_DIR).
if(ZUL_PUGIXML_SOURCE_DIR)
  add_library(zul_pugixml STATIC ${ZUL_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
  target_include_directories(zul_pugixml SYSTEM PUBLIC ${ZUL_PUGIXML_SOURCE_DIR}/src)
  target_compile_options(zul_pugixml PRIVATE -w)
  set_target_properties(zul_pugixml PROPERTIES POSITION_INDEPENDENT_CODE ON)
else()
  find_package(pugixml REQUIRED)
  add_library(zul_pugixml INTERFACE)
  if(TARGET pugixml::pugixml)
    target_link_libraries(zul_pugixml INTERFACE pugixml::pugixml)
  else()
    target_link_libraries(zul_pugixml INTERFACE pugixml)
  endif()
endif()
