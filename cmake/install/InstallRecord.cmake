# Runs inside `cmake --install`, once before the files are placed (QV_INSTALL_PHASE before) and
# once after them (after), and writes the install record beside the install manifest:
# install_record.txt, or install_record_COMPONENT.txt for --component COMPONENT. scripts/uninstall
# reads it to remove only what the install made, from where it made it. One entry a line:
#   stage PATH    DESTDIR made absolute, empty for an install into the live system
#   prefix PATH   the install prefix, made absolute
#   made PATH     a folder this install (or an earlier one into the same stage and prefix) made,
#                 with the stage in front
#
# QV_INSTALL_FOLDERS lists the destination folders (relative to the prefix, or absolute);
# QV_INSTALL_RECORD_DIR is the build folder, where CMake writes the manifest.

cmake_policy(VERSION 3.25)

# DESTDIR and the prefix, as file(INSTALL) takes them: relative to the working folder.
function(qv_install_absolute path out)
  if(path STREQUAL "")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  get_filename_component(path "${path}" ABSOLUTE)
  cmake_path(NORMAL_PATH path)
  string(REGEX REPLACE "/+$" "" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

qv_install_absolute("$ENV{DESTDIR}" qv_install_stage)
qv_install_absolute("${CMAKE_INSTALL_PREFIX}" qv_install_prefix)
if(CMAKE_INSTALL_COMPONENT)
  set(qv_install_record "${QV_INSTALL_RECORD_DIR}/install_record_${CMAKE_INSTALL_COMPONENT}.txt")
else()
  set(qv_install_record "${QV_INSTALL_RECORD_DIR}/install_record.txt")
endif()

if(QV_INSTALL_PHASE STREQUAL "before")
  # Every folder on the way to a destination that is not there yet: the install makes those
  # that it puts a file under.
  set(QV_INSTALL_MISSING "")
  foreach(folder IN LISTS QV_INSTALL_FOLDERS)
    if(IS_ABSOLUTE "${folder}")
      set(path "${qv_install_stage}${folder}")
    else()
      set(path "${qv_install_stage}${qv_install_prefix}/${folder}")
    endif()
    qv_install_absolute("${path}" path)
    while(NOT path STREQUAL "" AND NOT EXISTS "${path}" AND NOT IS_SYMLINK "${path}")
      list(APPEND QV_INSTALL_MISSING "${path}")
      get_filename_component(path "${path}" DIRECTORY)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES QV_INSTALL_MISSING)
  return()
endif()

set(made "")
foreach(path IN LISTS QV_INSTALL_MISSING)
  if(IS_DIRECTORY "${path}")
    list(APPEND made "${path}")
  endif()
endforeach()
# A re-install into the same stage and prefix makes no folder; those the earlier install made
# stay its own.
if(EXISTS "${qv_install_record}")
  file(STRINGS "${qv_install_record}" lines)
  if("stage ${qv_install_stage}" IN_LIST lines AND "prefix ${qv_install_prefix}" IN_LIST lines)
    foreach(line IN LISTS lines)
      if(line MATCHES "^made (.+)$")
        if(IS_DIRECTORY "${CMAKE_MATCH_1}")
          list(APPEND made "${CMAKE_MATCH_1}")
        endif()
      endif()
    endforeach()
  endif()
endif()
list(REMOVE_DUPLICATES made)
set(content "stage ${qv_install_stage}\nprefix ${qv_install_prefix}\n")
foreach(path IN LISTS made)
  string(APPEND content "made ${path}\n")
endforeach()
file(WRITE "${qv_install_record}" "${content}")
