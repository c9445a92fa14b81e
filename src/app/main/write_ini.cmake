# Writes the first-start Katarix.ini (the demo register as the database) when it is missing.
#   cmake -DINI=<file> -DDATABASE=<path> -P write_ini.cmake
if(NOT EXISTS "${INI}")
  file(WRITE "${INI}" "[Baza]\nPath=${DATABASE}\n")
endif()
