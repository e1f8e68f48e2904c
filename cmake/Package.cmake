# The portable package: Lunavista-<version>-win64.zip with the two static executables, the
# German guide LIESMICH.txt, the README and the licence, in a folder of that name. The same
# commit gives the same archive.
set(LUNAVISTA_PACKAGE_NAME "Lunavista-${PROJECT_VERSION}-win64")
set(LUNAVISTA_PACKAGE_ZIP "${CMAKE_BINARY_DIR}/${LUNAVISTA_PACKAGE_NAME}.zip")

add_custom_command(
    OUTPUT ${LUNAVISTA_PACKAGE_ZIP}
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/package/make-zip.sh
            ${LUNAVISTA_PACKAGE_ZIP} ${LUNAVISTA_PACKAGE_NAME}
            $<TARGET_FILE:Lunavista> $<TARGET_FILE:lunavista-cli>
            ${PROJECT_SOURCE_DIR}/docs/LIESMICH.txt ${PROJECT_SOURCE_DIR}/README.md
            ${PROJECT_SOURCE_DIR}/LICENSE
    DEPENDS Lunavista lunavista-cli ${PROJECT_SOURCE_DIR}/docs/LIESMICH.txt
            ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
            ${PROJECT_SOURCE_DIR}/tools/package/make-zip.sh
    COMMENT "Packing ${LUNAVISTA_PACKAGE_NAME}.zip"
    VERBATIM)
add_custom_target(package_zip ALL DEPENDS ${LUNAVISTA_PACKAGE_ZIP})
