# cmake -DSOURCE=DIR -DLAYERS="a;b;..." -P CheckIncludes.cmake
# Fails when a source includes a file by a path that climbs folders ("../"),
# which passes by the include roots that keep the layers apart, and when
# docs/ARCHITECTURE.md does not list the layers of VMX_LAYERS in their order.
file(GLOB folders RELATIVE ${SOURCE} LIST_DIRECTORIES true ${SOURCE}/*)
list(FILTER folders EXCLUDE REGEX "^(build.*|\\..*)$")
set(sources)
foreach(folder ${folders})
    file(GLOB_RECURSE found RELATIVE ${SOURCE} ${SOURCE}/${folder}/*.h ${SOURCE}/${folder}/*.cpp)
    list(APPEND sources ${found})
endforeach()
set(found)
foreach(source ${sources})
    file(STRINGS ${SOURCE}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
    foreach(line ${lines})
        string(APPEND found "\n  ${source}: ${line}")
    endforeach()
endforeach()
if(found)
    message(FATAL_ERROR "Includes that climb folders with ../:${found}")
endif()

# The list of the architecture page: its lines "N. `name/`".
file(STRINGS ${SOURCE}/docs/ARCHITECTURE.md entries REGEX "^[0-9]+\\. `[a-z]+/`")
set(documented)
foreach(entry ${entries})
    string(REGEX REPLACE "^[0-9]+\\. `([a-z]+)/`.*" "\\1" name "${entry}")
    list(APPEND documented ${name})
endforeach()
if(NOT documented STREQUAL LAYERS)
    message(FATAL_ERROR "docs/ARCHITECTURE.md lists the layers\n  ${documented}\n"
                        "but VMX_LAYERS in CMakeLists.txt has\n  ${LAYERS}")
endif()
message(STATUS "No include climbs folders; the layers of ${SOURCE}/docs/ARCHITECTURE.md are those of the build.")
