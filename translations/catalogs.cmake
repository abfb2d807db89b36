# The translations of the program's texts, shared by the build (src/shell), the check of the
# catalogs (tests/translations) and scripts/update-translations.
#
# A catalog holds the texts of one part of the programs, so that each program carries only
# what it shows: "common" the texts both programs show (the sheet's captions, the default
# categories, amounts, files and settings), "windows" those of the windowed program and
# "companion" those of quillmere-sheet. Each has one .ts file per language here.
set(QUILL_LANGUAGES de fr es)
set(QUILL_CATALOGS common windows companion)
# The sources each catalog's texts are taken from, relative to the project.
set(QUILL_CATALOG_SOURCES_common src/model src/shell/*.cpp src/shell/*.h src/bridge src/sheet)
set(QUILL_CATALOG_SOURCES_windows src/editor src/preview src/shell/ui app/main.cpp)
set(QUILL_CATALOG_SOURCES_companion app/companion app/sheet_main.cpp)
