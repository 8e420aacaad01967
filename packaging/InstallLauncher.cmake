# Run by `cmake --install` (and by cpack): writes the launcher with the
# program's installed path. HALVORN_LAUNCHER_TEMPLATE, HALVORN_LAUNCHER_FILE and
# HALVORN_PROGRAM_FILE are set just before; the last two are relative to the
# prefix.
set(program "${CMAKE_INSTALL_PREFIX}/${HALVORN_PROGRAM_FILE}")
# An argument with characters the Exec key reserves is quoted, and inside the
# quotes ", `, $ and \ are escaped; the desktop file's own string escaping
# then doubles every backslash.
if(NOT program MATCHES "^[A-Za-z0-9/._+,:@=-]+$")
  string(REPLACE "\\" "\\\\" program "${program}")
  string(REPLACE "\"" "\\\"" program "${program}")
  string(REPLACE "`" "\\`" program "${program}")
  string(REPLACE "$" "\\$" program "${program}")
  string(REPLACE "\\" "\\\\" program "${program}")
  string(REPLACE "%" "%%" program "${program}")
  set(program "\"${program}\"")
endif()
file(READ "${HALVORN_LAUNCHER_TEMPLATE}" launcher)
string(REPLACE "%PROGRAM%" "${program}" launcher "${launcher}")
set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${HALVORN_LAUNCHER_FILE}")
message(STATUS "Installing: ${destination}")
file(WRITE "${destination}" "${launcher}")
