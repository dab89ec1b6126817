# cmake -DFROM=page -DFALLBACK=page -DTO=copy -P copy_page.cmake
# Copies the assembled editor page when it has been built, else the stand-in page.
if(EXISTS ${FROM})
  set(source ${FROM})
else()
  set(source ${FALLBACK})
endif()
get_filename_component(folder ${TO} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(COPY_FILE ${source} ${TO} ONLY_IF_DIFFERENT)
