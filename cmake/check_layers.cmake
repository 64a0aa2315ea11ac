# Refuses an #include that goes up a layer. Run as a script:
#   cmake -DROOT=<source tree> -DSTAMP=<file to touch> -P check_layers.cmake
# The layers, lowest first; a folder may include its own headers and those of
# the folders listed before it on its line, nothing else of the project. The
# window's folders, one library, may include each other's headers (as the
# content's two do), but no header of the window may come back to itself
# through its includes.
# No folder of the core or of the command line may include a Qt header.
cmake_minimum_required(VERSION 3.22)

set(layers
    "core/foundation:"
    "core/sources:core/foundation"
    "core/results:core/foundation,core/sources"
    "core/audit:core/foundation,core/sources,core/results"
    "core/archives:core/foundation,core/sources,core/results,core/audit"
    "core/content:core/foundation,core/sources,core/results,core/audit,core/archives,core/content/sets"
    "core/content/sets:core/foundation,core/sources,core/results,core/audit,core/archives,core/content"
    "core/verify:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets"
    "core/summary:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets"
    "core/repair:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets"
    "core/session:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets,core/summary,core/repair"
    "cli:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets,core/verify,core/summary,core/repair"
    "gui:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets,core/verify,core/summary,core/repair,core/session,gui/changes,gui/systems"
    "gui/changes:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets,core/repair,core/session,gui"
    "gui/systems:core/foundation,core/sources,core/results,core/audit,core/archives,core/content,core/content/sets,core/summary,core/repair,core/session,gui,gui/changes"
)
set(project_folders core gui cli tests bench tools)

set(violations "")
foreach(entry IN LISTS layers)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 folder)
    list(LENGTH parts count)
    set(allowed "${folder}")
    if(count GREATER 1 AND NOT parts MATCHES ";$")
        list(GET parts 1 below)
        string(REPLACE "," ";" below "${below}")
        list(APPEND allowed ${below})
    endif()
    file(GLOB sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
        file(RELATIVE_PATH shown "${ROOT}" "${source}")
        foreach(line IN LISTS includes)
            if(line MATCHES "#[ \t]*include[ \t]*[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>\"]*)[>\"]"
               AND NOT folder MATCHES "^gui(/|$)")
                list(APPEND violations "${shown}: Qt in a layer without Qt: ${line}")
            elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]*)\"")
                set(target "${CMAKE_MATCH_1}")
                if(target MATCHES "^([a-z]+)/" AND CMAKE_MATCH_1 IN_LIST project_folders)
                    get_filename_component(target_folder "${target}" DIRECTORY)
                    if(NOT target_folder IN_LIST allowed)
                        list(APPEND violations "${shown}: includes a layer above it: ${line}")
                    endif()
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

# The window's headers that include no circle are taken away, round after
# round, with whatever includes only those; what is left includes one.
file(GLOB_RECURSE remaining RELATIVE "${ROOT}" "${ROOT}/gui/*.h")
foreach(header IN LISTS remaining)
    file(STRINGS "${ROOT}/${header}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"gui/")
    string(MAKE_C_IDENTIFIER "${header}" id)
    set(includes_${id} "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE ".*\"(gui/[^\"]*)\".*" "\\1" target "${line}")
        list(APPEND includes_${id} "${target}")
    endforeach()
endforeach()
set(peeled TRUE)
while(peeled)
    set(peeled FALSE)
    foreach(header IN LISTS remaining)
        string(MAKE_C_IDENTIFIER "${header}" id)
        set(circular FALSE)
        foreach(target IN LISTS includes_${id})
            if(target IN_LIST remaining)
                set(circular TRUE)
            endif()
        endforeach()
        if(NOT circular)
            list(REMOVE_ITEM remaining "${header}")
            set(peeled TRUE)
        endif()
    endforeach()
endwhile()
if(remaining)
    list(JOIN remaining ", " shown)
    list(APPEND violations "window headers that include one another in a circle, or one that does: ${shown}")
endif()

if(violations)
    list(JOIN violations "\n  " shown)
    message(FATAL_ERROR "Layer check failed:\n  ${shown}")
endif()
if(STAMP)
    file(TOUCH "${STAMP}")
endif()
