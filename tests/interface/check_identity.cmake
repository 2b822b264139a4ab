# Every build knows what it is: the header as installed names the source the
# build came from, and on Windows each program named in FILES carries it in
# its version resource (UTF-16 text, as the resource compiler stores it).
#
#   cmake -DGENERATED=BUILD/generated -DFILES="a.dll;b.exe" -DOBJCOPY=objcopy
#         -DWORK=DIR -P check_identity.cmake
file(STRINGS ${GENERATED}/zul_source_id.h description REGEX "ZUL_BUILD_DESCRIPTION")
string(REGEX REPLACE ".*ZUL_BUILD_DESCRIPTION \"([^\"]*)\".*" "\\1" description "${description}")
string(REGEX REPLACE "^[^(]*\\(([^,]*),.*" "\\1" id "${description}")
if(id STREQUAL "" OR id STREQUAL description)
  message(FATAL_ERROR "no source id in ${GENERATED}/zul_source_id.h: ${description}")
endif()

file(READ ${GENERATED}/include/Pkg_Zul00500.h header)
string(FIND "${header}" "#define ZUL_SOURCE_ID \"${id}\"" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the installed header does not name the source ${id}")
endif()

# The description as UTF-16LE bytes, in hex.
string(HEX "${description}" hex)
string(REGEX REPLACE "(..)" "\\100" wide "${hex}")
foreach(file IN LISTS FILES)
  # The resource section alone: a debug build's whole file is large to scan.
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND ${OBJCOPY} -O binary --only-section=.rsrc ${file} ${WORK}/${name}.rsrc
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${file}: no resource section could be taken out")
  endif()
  file(READ ${WORK}/${name}.rsrc bytes HEX)
  string(FIND "${bytes}" "${wide}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${file} carries no version resource saying \"${description}\"")
  endif()
endforeach()
message(STATUS "${description}")
