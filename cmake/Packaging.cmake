# The Debian package of the program (`make package`, scripts/package.sh): what `cmake --install`
# installs, under /usr, with its dependencies computed from the program's libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME foliarkh)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Разработчики Фолиарха <foliarkh@foliarkh.org>")
set(CPACK_PACKAGE_VENDOR "Фолиарх")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Разработчики Фолиарха <foliarkh@foliarkh.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://foliarkh.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit's Russian texts (file and font choosers, standard buttons) and its readers of
# WebP, TIFF and other picture formats (covers) and the driver of server catalogues (PostgreSQL)
# come from these packages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-image-formats-plugins, libqt6sql6-psql")
# The synopsis is the summary below; this is the extended description under it, which does not
# repeat it (lintian compares the two by their Latin letters and digits alone: the command's name
# keeps the first line apart from the all-Cyrillic synopsis).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Программа foliarkh ведёт каталог книг и журналов небольшой библиотеки или
домашнего собрания: автор, название, вид и категория литературы, выходные
данные и обложка каждой книги. При первом запуске она предлагает начать с
пустого каталога или с книг-образцов.")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Фолиарх — каталог литературы")
include(CPack)
