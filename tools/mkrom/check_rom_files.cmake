# Run by the command that makes a game data folder, before it lists the folder: fails when the
# folder holds other files than the build names as its outputs (FILES, separated by commas), so
# that a file mkrom begins or stops writing is named in tools/mkrom/CMakeLists.txt too.
#   cmake -DDIR=folder -DFILES=a,b/c -P check_rom_files.cmake
get_filename_component(DIR ${DIR} ABSOLUTE)
string(REPLACE "," ";" expected "${FILES}")
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${DIR} ${DIR}/*)
# A list copied from another build is made again after this check.
list(REMOVE_ITEM found checksums.txt)
list(SORT expected)
list(SORT found)
if(NOT found STREQUAL expected)
  set(unnamed ${found})
  list(REMOVE_ITEM unnamed ${expected})
  set(missing ${expected})
  list(REMOVE_ITEM missing ${found})
  string(REPLACE ";" ", " unnamed "${unnamed}")
  string(REPLACE ";" ", " missing "${missing}")
  message(FATAL_ERROR "${DIR} does not hold the files the build names as its outputs "
                      "(tools/mkrom/CMakeLists.txt): made but not named: ${unnamed}; named but not made: ${missing}")
endif()
