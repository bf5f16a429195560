# Creates the program folder's downloads folder update/ unless a file already holds that name:
# on Linux the updater program is called update as well, and the two cannot share the folder.
if(EXISTS "${DIR}" AND NOT IS_DIRECTORY "${DIR}")
  message(WARNING "${DIR} is a file (the updater program); the downloads folder update/ cannot be created")
else()
  file(MAKE_DIRECTORY "${DIR}")
endif()
