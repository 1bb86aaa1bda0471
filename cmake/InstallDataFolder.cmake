# cmake -DSOURCE=<repository> -DDESTINATION=<program folder> -P InstallDataFolder.cmake
# Puts the program's data folder beside the built program, as an installation would: the help
# pages, the template library and the spam word database (not the corpus it is built from).
file(MAKE_DIRECTORY ${DESTINATION}/data/spamdb)
if(EXISTS ${SOURCE}/data/help)
  file(COPY ${SOURCE}/data/help DESTINATION ${DESTINATION}/data)
endif()
file(COPY ${SOURCE}/data/spamdb/spamdb.dat DESTINATION ${DESTINATION}/data/spamdb)
if(EXISTS ${SOURCE}/data/library)
  file(COPY ${SOURCE}/data/library DESTINATION ${DESTINATION}/data)
endif()
