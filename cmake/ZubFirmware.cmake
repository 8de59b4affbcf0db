# Symbol visibility of an image is set at link time by a version script that keeps only
# the entry point; the machine library marks its exports itself.
# Builds the firmware the way its EDK2 descriptions say: a package's .dec gives its GUIDs
# (generated into a GUID library, as AutoGen does), a module's .inf gives its sources,
# entry point, libraries and packages. Every PEIM becomes a shared object that exports
# only its entry point and imports only the machine library and the compiler's mem*.

set(ZUB_FIRMWARE_DIR ${CMAKE_BINARY_DIR}/firmware CACHE INTERNAL "")
set(ZUB_TEST_FIRMWARE_DIR ${CMAKE_BINARY_DIR}/firmware-test CACHE INTERNAL "")
file(MAKE_DIRECTORY ${ZUB_FIRMWARE_DIR} ${ZUB_TEST_FIRMWARE_DIR})

set(ZUB_FW_COMPILE_OPTIONS
  -ffreestanding -fno-exceptions -fno-rtti -fno-stack-protector -fno-gnu-unique
  -fno-threadsafe-statics -funwind-tables -fno-common -Wall -Wextra -Wno-unused-parameter)
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(REMOVE_ITEM ZUB_FW_COMPILE_OPTIONS -fno-gnu-unique)   # a GCC option; clang makes no unique symbols
endif()

# Reads KEY = VALUE from the [Defines] section, and the lines of the named sections.
function(zub_read_edk2_file path out_prefix)
  file(STRINGS ${path} lines)
  set(section "")
  foreach(raw IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${raw}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(line MATCHES "^\\[([A-Za-z]+)(\\.[^]]*)?\\]$")
      set(section ${CMAKE_MATCH_1})
      continue()
    endif()
    if(section STREQUAL "Defines" AND line MATCHES "^([A-Z_]+)[ \t]*=[ \t]*(.*)$")
      set(${out_prefix}_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}" PARENT_SCOPE)
    else()
      list(APPEND sec_${section} "${line}")
    endif()
  endforeach()
  foreach(s Sources LibraryClasses Packages Guids Ppis Depex)
    set(${out_prefix}_${s} "${sec_${s}}" PARENT_SCOPE)
  endforeach()
endfunction()

# zub_package(<Pkg>.dec): the package's GUID library <PACKAGE_NAME>Guids and include dir.
function(zub_package dec)
  get_filename_component(dec_abs ${dec} ABSOLUTE)
  get_filename_component(dir ${dec_abs} DIRECTORY)
  zub_read_edk2_file(${dec_abs} DEC)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${DEC_PACKAGE_NAME}Guids.cpp)
  set(body "// Generated from ${DEC_PACKAGE_NAME}.dec.\n#include <Uefi/UefiBaseType.h>\n")
  foreach(entry IN LISTS DEC_Guids DEC_Ppis)
    if(entry MATCHES "^([A-Za-z0-9_]+)[ \t]*=[ \t]*(\\{.*\\})$")
      string(APPEND body "extern EFI_GUID ${CMAKE_MATCH_1};\nEFI_GUID ${CMAKE_MATCH_1} = ${CMAKE_MATCH_2};\n")
    endif()
  endforeach()
  file(GENERATE OUTPUT ${out} CONTENT "${body}")
  set_property(GLOBAL APPEND PROPERTY ZUB_PACKAGE_INCLUDES ${dir}/Include)
  add_library(${DEC_PACKAGE_NAME}Guids STATIC ${out})
  zub_firmware_target_options(${DEC_PACKAGE_NAME}Guids)
  set_property(GLOBAL APPEND PROPERTY ZUB_GUID_LIBRARIES ${DEC_PACKAGE_NAME}Guids)
  configure_file(${dec_abs} ${ZUB_FIRMWARE_DIR}/dec/${DEC_PACKAGE_NAME}.dec COPYONLY)
  configure_file(${dec_abs} ${ZUB_TEST_FIRMWARE_DIR}/dec/${DEC_PACKAGE_NAME}.dec COPYONLY)
endfunction()

function(zub_firmware_target_options target)
  target_compile_options(${target} PRIVATE ${ZUB_FW_COMPILE_OPTIONS})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON CXX_STANDARD 20
                                             CXX_EXTENSIONS OFF)
  target_include_directories(${target} PUBLIC ${ZUB_ROOT}/PeiEnvironment/Include)
  get_property(incs GLOBAL PROPERTY ZUB_PACKAGE_INCLUDES)
  target_include_directories(${target} PUBLIC ${incs})
endfunction()

# Library classes a module asks for in [LibraryClasses]; each is a target of that name.
function(zub_link_library_classes target classes)
  foreach(entry IN LISTS classes)
    string(REGEX REPLACE "[ \t|].*$" "" class "${entry}")
    if(TARGET ${class})
      target_link_libraries(${target} PRIVATE ${class})
    else()
      message(FATAL_ERROR "${target}: unknown library class ${class}")
    endif()
  endforeach()
endfunction()

# The compiled sources of an .inf's [Sources] section, as absolute paths.
function(zub_inf_sources dir sources out)
  set(srcs "")
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.(c|cpp)$")
      list(APPEND srcs ${dir}/${s})
    endif()
  endforeach()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# zub_library(<Lib>.inf): a static library named by LIBRARY_CLASS.
function(zub_library inf)
  get_filename_component(inf_abs ${inf} ABSOLUTE)
  get_filename_component(dir ${inf_abs} DIRECTORY)
  zub_read_edk2_file(${inf_abs} INF)
  string(REGEX REPLACE "[ \t|].*$" "" class "${INF_LIBRARY_CLASS}")
  zub_inf_sources(${dir} "${INF_Sources}" srcs)
  add_library(${class} STATIC ${srcs})
  zub_firmware_target_options(${class})
  target_include_directories(${class} PRIVATE ${dir})
  zub_link_library_classes(${class} "${INF_LibraryClasses}")
endfunction()

# zub_peim(<Module>.inf [TEST]): the module image <BASE_NAME>.so and its .inf in the firmware
# dir (TEST: in the test firmware dir, which only tests boot).
function(zub_peim inf)
  set(out_dir ${ZUB_FIRMWARE_DIR})
  if("TEST" IN_LIST ARGN)
    set(out_dir ${ZUB_TEST_FIRMWARE_DIR})
  endif()
  get_filename_component(inf_abs ${inf} ABSOLUTE)
  get_filename_component(dir ${inf_abs} DIRECTORY)
  zub_read_edk2_file(${inf_abs} INF)
  set(name ${INF_BASE_NAME})
  zub_inf_sources(${dir} "${INF_Sources}" srcs)
  add_library(${name} MODULE ${srcs})
  zub_firmware_target_options(${name})
  target_include_directories(${name} PRIVATE ${dir})
  set(vs ${CMAKE_CURRENT_BINARY_DIR}/${name}.map)
  file(GENERATE OUTPUT ${vs} CONTENT "{\n  global: ${INF_ENTRY_POINT};\n  local: *;\n};\n")
  target_link_options(${name} PRIVATE -nostdlib -Wl,--no-as-needed -Wl,--version-script=${vs} -Wl,-z,now)
  zub_link_library_classes(${name} "${INF_LibraryClasses}")
  get_property(guid_libs GLOBAL PROPERTY ZUB_GUID_LIBRARIES)
  target_link_libraries(${name} PRIVATE ${guid_libs} ZubMachine)
  set_target_properties(${name} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${out_dir}
                                           LINK_DEPENDS ${vs} BUILD_RPATH "${ZUB_FIRMWARE_DIR}")
  configure_file(${inf_abs} ${out_dir}/${name}.inf COPYONLY)
  set_property(GLOBAL APPEND PROPERTY ZUB_PEIMS ${name})
endfunction()
