# What a user downloads: the help page beside the program, the version resources, and the
# release package. `cmake --build build --target package` makes orvale-<version>-win64.zip.

# The help page and its pictures are copied beside the program whenever they change, so that
# Help works in the build folder as it does in the package.
file(GLOB ORVALE_HELP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*)
set(ORVALE_HELP_COPIES)
foreach(source ${ORVALE_HELP_FILES})
  get_filename_component(name ${source} NAME)
  set(copy ${CMAKE_BINARY_DIR}/bin/${name})
  add_custom_command(OUTPUT ${copy} DEPENDS ${source}
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${copy})
  list(APPEND ORVALE_HELP_COPIES ${copy})
endforeach()
add_custom_target(orvale_help ALL DEPENDS ${ORVALE_HELP_COPIES})
add_dependencies(orvale orvale_help)

# Windows shows these in the files' properties.
set(ORVALE_VERSION_RC ${CMAKE_SOURCE_DIR}/resources/version.rc)
set_source_files_properties(${ORVALE_VERSION_RC} PROPERTIES OBJECT_DEPENDS
                            ${ORVALE_GENERATED_DIR}/orvale_version.h)
target_sources(orvale PRIVATE ${ORVALE_VERSION_RC})
target_sources(ovdll PRIVATE ${ORVALE_VERSION_RC})
target_compile_definitions(ovdll PRIVATE ORVALE_HOOK_LIBRARY)
target_sources(ovmacro PRIVATE ${ORVALE_VERSION_RC})
target_compile_definitions(ovmacro PRIVATE ORVALE_MACRO_TOOL)

# The package: everything a user needs, at the top of the zip, and no settings file, so that
# unpacking over an older copy keeps that copy's settings.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVALE_PACKAGE_PLATFORM win64)
else()
  set(ORVALE_PACKAGE_PLATFORM win32)
endif()
configure_file(${CMAKE_SOURCE_DIR}/docs/package/README.txt.in
               ${CMAKE_BINARY_DIR}/package/README.txt @ONLY NEWLINE_STYLE CRLF)
install(PROGRAMS $<TARGET_FILE:orvale> $<TARGET_FILE:ovdll> $<TARGET_FILE:ovmacro> DESTINATION .)
set(ORVALE_PACKAGE_FILES ${ORVALE_HELP_FILES} ${CMAKE_BINARY_DIR}/package/README.txt
    ${CMAKE_SOURCE_DIR}/ovmacro/samples.brd)
foreach(icon ${ORVALE_SHIPPED_ICONS})
  list(APPEND ORVALE_PACKAGE_FILES ${CMAKE_SOURCE_DIR}/resources/icons/${icon}.ico)
endforeach()
install(FILES ${ORVALE_PACKAGE_FILES} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME orvale)
set(CPACK_PACKAGE_VENDOR "The Orvale developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bars of buttons beside every context menu")
set(CPACK_PACKAGE_FILE_NAME orvale-${PROJECT_VERSION}-${ORVALE_PACKAGE_PLATFORM})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(ORVALE_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)
