# Compiles the applet and packs the runtime files. Run with cmake -P:
#   JAVAC, GCAB (may be empty or NOTFOUND), SOURCES, CLASSES (names without
#   .class, in the order of the archives), CLASS_DIR, OUT_DIR.

file(REMOVE_RECURSE ${CLASS_DIR})
file(MAKE_DIRECTORY ${CLASS_DIR} ${OUT_DIR})

# Java 8 class files run in every applet runner still about; the warnings
# are errors so the applet stays clean.
execute_process(
  COMMAND ${JAVAC} --release 8 -encoding UTF-8 -Xlint:all -Werror -d ${CLASS_DIR} ${SOURCES}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "javac failed")
endif()

# The page names exactly these classes; an inner class would be a file
# that Compile and Preview never copy.
set(files "")
foreach(c IN LISTS CLASSES)
  list(APPEND files ${c}.class)
endforeach()
file(GLOB made RELATIVE ${CLASS_DIR} ${CLASS_DIR}/*.class)
list(SORT made)
set(expected ${files})
list(SORT expected)
if(NOT made STREQUAL expected)
  message(FATAL_ERROR "The applet must compile to exactly ${expected}, not ${made}")
endif()

# A plain zip with a fixed time stamp, so the same sources give the same
# archive.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf ${CLASS_DIR}/quillmap.zip --format=zip "--mtime=2000-01-01 00:00:00 UTC" ${files}
  WORKING_DIRECTORY ${CLASS_DIR}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "packing quillmap.zip failed")
endif()
set(shipped ${files} quillmap.zip)

if(GCAB)
  file(REMOVE ${CLASS_DIR}/quillmap.cab)
  execute_process(
    COMMAND ${GCAB} --create --zip --nopath quillmap.cab ${files}
    WORKING_DIRECTORY ${CLASS_DIR}
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "packing quillmap.cab failed")
  endif()
  list(APPEND shipped quillmap.cab)
endif()

# Earlier builds left a note beside stand-ins of these files; it no longer
# describes the folder.
file(REMOVE ${OUT_DIR}/README.txt)
foreach(f IN LISTS shipped)
  file(COPY_FILE ${CLASS_DIR}/${f} ${OUT_DIR}/${f})
endforeach()
