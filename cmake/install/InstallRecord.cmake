# Runs inside `cmake --install`, once before the files are placed (QV_INSTALL_PHASE before) and
# once after them (after), and writes the install record beside the install manifest:
# install_record.txt, or install_record_COMPONENT.txt for --component COMPONENT. scripts/uninstall
# reads it to remove only what the install made, from where it made it. One entry a line:
#   stage PATH    DESTDIR made absolute, empty for an install into the live system
#   prefix PATH   the install prefix, made absolute
#   made PATH     a folder this install (or an earlier one into the same stage and prefix) made,
#                 with the stage in front; only those in the stage, or in the prefix for an
#                 install into the live system, as scripts/uninstall refuses a record naming
#                 another: a folder made above them stays after the uninstall
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
if(qv_install_stage STREQUAL "")
  set(qv_install_own "${qv_install_prefix}")
else()
  set(qv_install_own "${qv_install_stage}")
endif()

# Whether path is a normal absolute path in the install's own folder (qv_install_own, empty for
# /), or that folder itself: one that the install may record as made.
function(qv_install_is_own path out)
  qv_install_absolute("${path}" normal)
  string(FIND "${path}/" "${qv_install_own}/" at)
  if(normal STREQUAL path AND NOT path STREQUAL "" AND at EQUAL 0)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

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
      qv_install_is_own("${path}" own)
      if(NOT own)
        break()
      endif()
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
# stay its own. A folder the record names elsewhere, put there by hand, is dropped.
if(EXISTS "${qv_install_record}")
  file(STRINGS "${qv_install_record}" lines)
  if("stage ${qv_install_stage}" IN_LIST lines AND "prefix ${qv_install_prefix}" IN_LIST lines)
    foreach(line IN LISTS lines)
      if(line MATCHES "^made (.+)$")
        set(path "${CMAKE_MATCH_1}")
        qv_install_is_own("${path}" own)
        if(own AND IS_DIRECTORY "${path}")
          list(APPEND made "${path}")
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
