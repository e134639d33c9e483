# cmake -DSOURCE=... -DDEST=... -P copy_if_missing.cmake
if(NOT EXISTS "${DEST}")
  get_filename_component(dir "${DEST}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${SOURCE}" "${DEST}")
endif()
