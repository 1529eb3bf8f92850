# The Debian package (scripts/package): the two programs, the desktop entry and icons, the man page, and the
# licence, changelog and user guide (one HTML page, made with the window's build) in /usr/share/doc/kalvian/.

# Debian wants man pages and changelogs compressed, without a time stamp in the gzip header.
function(kalvian_gzip source output)
    add_custom_command(
        OUTPUT ${output}
        COMMAND gzip -9nc ${source} > ${output}
        DEPENDS ${source}
        VERBATIM)
endfunction()

set(KALVIAN_DOC_DIR ${PROJECT_BINARY_DIR}/package-docs)
file(MAKE_DIRECTORY ${KALVIAN_DOC_DIR})
kalvian_gzip(${PROJECT_SOURCE_DIR}/docs/kalvian-export.1 ${KALVIAN_DOC_DIR}/kalvian-export.1.gz)
kalvian_gzip(${PROJECT_SOURCE_DIR}/docs/changelog ${KALVIAN_DOC_DIR}/changelog.gz)
add_custom_target(kalvian_package_docs ALL
    DEPENDS ${KALVIAN_DOC_DIR}/kalvian-export.1.gz ${KALVIAN_DOC_DIR}/changelog.gz)

install(FILES ${KALVIAN_DOC_DIR}/kalvian-export.1.gz DESTINATION share/man/man1)
install(FILES ${KALVIAN_DOC_DIR}/changelog.gz DESTINATION share/doc/kalvian)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION share/doc/kalvian RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvian)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kalvian")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exportação das notas de serviço da VRK 3 para a VRK 4")
set(CPACK_PACKAGE_DESCRIPTION
    "Converte as notas fiscais de serviço emitidas e recebidas de um contribuinte, guardadas pela\n"
    "versão 3 da declaração VRK (tabelas Paradox DSEMI, DSREC e DSCLI), no arquivo texto de\n"
    "larguras fixas que a versão 4 importa. Traz a janela kalvian e o exportador de linha de\n"
    "comando kalvian-export, para lotes.\n"
    "Licença: MIT.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kalvian_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Equipe Kalvian <equipe@kalvian.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from the binaries (dpkg-shlibdeps); what Qt loads at run time, its platform plugins, is
# named here (the window's Portuguese translation is built into it).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
