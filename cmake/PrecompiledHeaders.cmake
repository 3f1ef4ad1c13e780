# Precompiled headers: the system headers nearly every file includes (the standard library,
# GoogleTest, nlohmann/json, Qt) are compiled once for each group of targets built with the same
# flags, and the group's members reuse that one header. GCC takes a precompiled header only when
# every definition it was made with is defined alike in the file that uses it, so each group's
# header is made by a target of its own (milgant_pch_<group>) that has no definitions but those
# of the libraries all members link. Each group's header is a file of cmake/pch/ that includes
# only system headers: a change to the game's own headers never rebuilds a precompiled one.
# (Listing the system headers in target_precompile_headers itself would put them under CMake's
# "system header" pragma, and GCC 12 then warns falsely about std::string copies in the tests.)
# -DMILGANT_PCH=OFF builds without them.
option(MILGANT_PCH "Precompile the common system headers" ON)

# milgant_pch_group(NAME HEADER cmake/pch/file LINK libraries... [OPTIONS flags...] TARGETS targets...)
# Targets that do not exist in this build (no GUI, no tests) are left out.
function(milgant_pch_group name)
  cmake_parse_arguments(PARSE_ARGV 1 G "" "HEADER" "LINK;TARGETS;OPTIONS")
  if(NOT MILGANT_PCH)
    return()
  endif()
  set(members "")
  foreach(t IN LISTS G_TARGETS)
    if(TARGET ${t})
      list(APPEND members ${t})
    endif()
  endforeach()
  if(NOT members)
    return()
  endif()
  add_library(milgant_pch_${name} OBJECT ${CMAKE_SOURCE_DIR}/cmake/pch/Empty.cpp)
  target_link_libraries(milgant_pch_${name} PRIVATE ${G_LINK})
  target_compile_options(milgant_pch_${name} PRIVATE ${G_OPTIONS})
  target_precompile_headers(milgant_pch_${name} PRIVATE ${CMAKE_SOURCE_DIR}/${G_HEADER})
  foreach(t IN LISTS members)
    target_precompile_headers(${t} REUSE_FROM milgant_pch_${name})
  endforeach()
endfunction()

# milgant_pch_skip(TARGET files...): these files of TARGET are compiled without its precompiled
# header (paths from the top of the source tree).
function(milgant_pch_skip target)
  if(NOT MILGANT_PCH OR NOT TARGET ${target})
    return()
  endif()
  list(TRANSFORM ARGN PREPEND ${CMAKE_SOURCE_DIR}/)
  set_source_files_properties(${ARGN} TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()
