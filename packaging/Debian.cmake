# The Debian package selvarot_<version>_<architecture>.deb: the program folder in
# /usr/lib/selvarot, the start command /usr/bin/selvarot and what packaging/ installs.
set(CPACK_DEBIAN_PACKAGE_NAME selvarot)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Hanno Kielholt <hanno.kielholt@funkkurs.example>")
# The first line of the description is CPACK_PACKAGE_DESCRIPTION_SUMMARY.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Der Trainer bereitet auf die Theorieprüfung zum beschränkt gültigen
Funkbetriebszeugnis für den UKW-Seefunk und zum UKW-Sprechfunkzeugnis für
den Binnenschifffahrtsfunk vor. Jedes der elf Themen lässt sich lernen oder
abfragen; die Wertung jedes Themas bleibt zwischen zwei Läufen erhalten.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No library link shows these: the plugin that opens windows, Arial's metric twin and the
# toolkit's German texts are all loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/CPackOptionen.cmake")
