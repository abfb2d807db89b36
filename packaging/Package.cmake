# The Debian package, built by CPack from an install to /usr (scripts/package).
find_program(GZIP gzip REQUIRED)

# A Debian package also carries its copyright and changelog in /usr/share/doc/quillmere.
# Only the package gets them; a plain install puts nothing of ours there.
set(_quill_docdir ${CMAKE_INSTALL_DATADIR}/doc/quillmere)
set(_quill_changelog_gz ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${_quill_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND ${GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${_quill_changelog_gz}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the package changelog")
add_custom_target(quill_package_docs ALL DEPENDS ${_quill_changelog_gz})
install(CODE "
  if(QUILL_DEBIAN_PACKAGE)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${_quill_docdir}\" TYPE FILE
         PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
         FILES \"${PROJECT_SOURCE_DIR}/packaging/copyright\" \"${_quill_changelog_gz}\")
  endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VENDOR "Quillmere developers")
set(CPACK_PACKAGE_CONTACT "Quillmere developers <support@quillmere.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.quillmere.example")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "household budget workbook builder")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_CUSTOM_INSTALL_VARIABLES QUILL_DEBIAN_PACKAGE=TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The long description; CPack puts the summary above it and indents it as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillmere builds a household budget workbook. You keep a two-level list of
budget categories and four income figures, and get a formatted Personal
Finance sheet with live formulas: an income and balance block, one section
per group with projected cost, actual cost and difference, subtotals and
grand totals, set up to print on one A4 page. The sheet is previewed with
zoom (Ctrl+wheel, Ctrl+plus/minus, Ctrl+0), scrolling and drag-to-pan, saved
as an .xls or .xlsx workbook or as PDF pages (Ctrl+S), or printed (Ctrl+P).

The package also holds quillmere-sheet, which writes the same workbook from
the command line: -o FILE (.xls, .xlsx or .pdf, or - for a pipe), --format,
--picture, --defaults, --synthetic, --income0 to --income3, --currency and
--paper. Both programs speak English, German, French and Spanish.")
# The libraries come from dpkg-shlibdeps. Qt loads its platform plugins at run time, so
# they cannot be found that way; the windowed program cannot start without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Arial in the sheet picture needs a face with its character widths; Qt's own translations
# put the buttons of standard dialogs in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-translations-l10n")

include(CPack)
