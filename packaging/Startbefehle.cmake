# Run by cmake --install and cpack: writes <prefix>/bin/selvarot and the desktop entry.
# SELVAROT_ORDNER, SELVAROT_ID and SELVAROT_VORLAGE are set by the install rules.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(programm "${prefix}/${SELVAROT_ORDNER}/selvarot")
set(ziel "$ENV{DESTDIR}${prefix}")

# A relative link: the program finds its folder through it, wherever the tree was installed.
file(RELATIVE_PATH link "${prefix}/bin" "${programm}")
file(MAKE_DIRECTORY "${ziel}/bin")
file(CREATE_LINK "${link}" "${ziel}/bin/selvarot" SYMBOLIC)
message(STATUS "Installing: ${ziel}/bin/selvarot -> ${link}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${ziel}/bin/selvarot")

# Exec quotes the path only where a space or another reserved character needs it; values are
# strings, so a backslash is doubled after that.
set(exec "${programm}")
if(exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(pfad "${prefix}/${SELVAROT_ORDNER}")
string(REPLACE "\\" "\\\\" pfad "${pfad}")

file(READ "${SELVAROT_VORLAGE}" eintrag)
string(REPLACE "@PROGRAMM@" "${exec}" eintrag "${eintrag}")
string(REPLACE "@ORDNER@" "${pfad}" eintrag "${eintrag}")
set(datei "${ziel}/share/applications/${SELVAROT_ID}.desktop")
file(WRITE "${datei}" "${eintrag}")
message(STATUS "Installing: ${datei}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${datei}")
