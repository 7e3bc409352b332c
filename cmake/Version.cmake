# The version of project() flows from here into a generated header (the About box and the
# version resources read it) and into the manifest. Both land in a folder that every target
# compiling the resources searches.
set(ORVALE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(ORVALE_VERSION_QUAD
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in
               ${ORVALE_GENERATED_DIR}/orvale_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/orvale.manifest.in
               ${ORVALE_GENERATED_DIR}/orvale.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/ovmacro/ovmacro.manifest.in
               ${ORVALE_GENERATED_DIR}/ovmacro.manifest @ONLY)
include_directories(${ORVALE_GENERATED_DIR})
# A new version must recompile every resource script that shows it.
list(APPEND ORVALE_RC_INPUTS ${ORVALE_GENERATED_DIR}/orvale_version.h
     ${ORVALE_GENERATED_DIR}/orvale.manifest)
