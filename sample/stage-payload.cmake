# cmake -DSOURCE=dir -DSTAGE=dir -DPROGRAMS=file;file -P stage-payload.cmake
# A fresh copy of SOURCE with PROGRAMS at its top appears at STAGE in one
# rename, so no one sees a half-made folder. Git keeps no read-only bit:
# the copy gets it back.
set(building "${STAGE}.new")
set(old "${STAGE}.old")
file(REMOVE_RECURSE "${building}" "${old}")
file(COPY "${SOURCE}/" DESTINATION "${building}")
file(COPY ${PROGRAMS} DESTINATION "${building}")
if(EXISTS "${building}/docs/readonly.txt")
  file(CHMOD "${building}/docs/readonly.txt" PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
endif()
if(EXISTS "${STAGE}")
  file(RENAME "${STAGE}" "${old}")
endif()
file(RENAME "${building}" "${STAGE}")
file(REMOVE_RECURSE "${old}")
