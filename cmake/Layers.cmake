# The layers of VMX_LAYERS (root CMakeLists.txt) as the build keeps them:
# each folder's library linked as its entry says, and a probe in each library
# that stops the build when the library could include a layer its entry does
# not allow.
#
# An entry is "name: shown | used". `shown` are the layers (and other
# libraries) that the layer's headers include, so whoever includes the
# layer's headers sees them too; `used` are those its sources alone include.
# A layer may include its own headers, those of the layers it names, and
# those that a layer it names shows; nothing else, and never a layer that
# comes after it in the list. A name that is no layer is a library to link.

# Reads VMX_LAYERS: VMX_LAYER_NAMES in order, and for each layer L
# VMX_LAYER_L_SHOWN and VMX_LAYER_L_USED (what it names), VMX_LAYER_L_SHOWS
# (L and every layer whoever includes L's headers sees) and VMX_LAYER_L_SEES
# (every layer L's sources may include).
macro(vmx_read_layers)
    set(VMX_LAYER_NAMES)
    foreach(entry ${VMX_LAYERS})
        string(REGEX REPLACE ":.*" "" name "${entry}")
        list(APPEND VMX_LAYER_NAMES ${name})
    endforeach()
    set(earlier)
    foreach(entry ${VMX_LAYERS})
        if(NOT entry MATCHES "^([a-z]+)(:([^|]*)(\\|(.*))?)?$")
            message(FATAL_ERROR "VMX_LAYERS: '${entry}' is not 'name: shown | used'")
        endif()
        set(name ${CMAKE_MATCH_1})
        set(shown "${CMAKE_MATCH_3}")
        set(used "${CMAKE_MATCH_5}")
        separate_arguments(shown)
        separate_arguments(used)
        set(VMX_LAYER_${name}_SHOWN ${shown})
        set(VMX_LAYER_${name}_USED ${used})
        set(VMX_LAYER_${name}_SHOWS ${name})
        set(VMX_LAYER_${name}_SEES ${name})
        foreach(item ${shown} ${used})
            if(NOT item IN_LIST VMX_LAYER_NAMES)
                continue()
            endif()
            if(NOT item IN_LIST earlier)
                message(FATAL_ERROR "VMX_LAYERS: ${name} names ${item}, which is not below it")
            endif()
            list(APPEND VMX_LAYER_${name}_SEES ${VMX_LAYER_${item}_SHOWS})
            if(item IN_LIST shown)
                list(APPEND VMX_LAYER_${name}_SHOWS ${VMX_LAYER_${item}_SHOWS})
            endif()
        endforeach()
        list(REMOVE_DUPLICATES VMX_LAYER_${name}_SHOWS)
        list(REMOVE_DUPLICATES VMX_LAYER_${name}_SEES)
        list(APPEND earlier ${name})
    endforeach()
endmacro()

# The libraries an entry names, of one kind (SHOWN or USED): layers as
# their libraries, vmx_<name>.
function(vmx_layer_libraries layer kind out)
    set(libraries)
    foreach(item ${VMX_LAYER_${layer}_${kind}})
        if(item IN_LIST VMX_LAYER_NAMES)
            list(APPEND libraries vmx_${item})
        else()
            list(APPEND libraries ${item})
        endif()
    endforeach()
    set(${out} ${libraries} PARENT_SCOPE)
endfunction()

# Links `target`, the library of layer `layer`, as its entry says, and puts
# the layer's probe in it.
function(vmx_link_layer target layer)
    vmx_layer_libraries(${layer} SHOWN shown)
    vmx_layer_libraries(${layer} USED used)
    target_link_libraries(${target} PUBLIC ${shown} PRIVATE ${used})
    vmx_layer_probe(${target} ${layer})
endfunction()

# A header of a layer, for the probes: the first of its folder by name.
function(vmx_layer_header layer out)
    file(GLOB headers RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${layer}/*.h)
    list(SORT headers)
    list(GET headers 0 header)
    set(${out} ${header} PARENT_SCOPE)
endfunction()

# A source of the layer's library, compiled with what its own sources see:
# it stops the build when a layer it may include cannot be found, or one it
# may not include can.
function(vmx_layer_probe target layer)
    set(text "// Made by cmake/Layers.cmake from VMX_LAYERS: what ${layer}/ may include.\n")
    foreach(other ${VMX_LAYER_NAMES})
        vmx_layer_header(${other} header)
        if(other IN_LIST VMX_LAYER_${layer}_SEES)
            string(APPEND text "#if !__has_include(\"${header}\")\n"
                   "#error \"${layer}/ cannot include ${other}/, which VMX_LAYERS allows it\"\n#endif\n")
        else()
            string(APPEND text "#if __has_include(\"${header}\")\n"
                   "#error \"${layer}/ can include ${other}/, which VMX_LAYERS does not allow it\"\n#endif\n")
        endif()
    endforeach()
    set(probe ${CMAKE_BINARY_DIR}/layer-probes/${layer}.cpp)
    file(CONFIGURE OUTPUT ${probe} CONTENT "${text}")
    target_sources(${target} PRIVATE ${probe})
endfunction()

# For each layer, a test that a header of the next layer it may not see fails
# to compile in it, as an include that reaches up must: the control that the
# probes' __has_include sees what the compiler sees.
function(vmx_layer_tests)
    foreach(layer ${VMX_LAYER_NAMES})
        if(NOT TARGET vmx_${layer})
            continue()
        endif()
        list(FIND VMX_LAYER_NAMES ${layer} at)
        list(SUBLIST VMX_LAYER_NAMES ${at} -1 above)
        set(hidden)
        foreach(other ${above})
            if(NOT other IN_LIST VMX_LAYER_${layer}_SEES)
                set(hidden ${other})
                break()
            endif()
        endforeach()
        if(NOT hidden)
            continue()
        endif()
        vmx_layer_header(${hidden} header)
        set(source ${CMAKE_BINARY_DIR}/layer-probes/${layer}-includes-${hidden}.cpp)
        file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
        add_library(probe_${layer}_${hidden} OBJECT EXCLUDE_FROM_ALL ${source})
        vmx_layer_libraries(${layer} USED used)
        target_link_libraries(probe_${layer}_${hidden} PRIVATE vmx_${layer} ${used})
        set(test layers.${layer}-cannot-include-${hidden})
        add_test(NAME ${test}
                 COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR}
                         --target probe_${layer}_${hidden})
        # One build at a time in the tree; it must fail for the header it
        # cannot see (gcc's words, or clang's).
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK build-tree
            PASS_REGULAR_EXPRESSION "${header}: No such file|'${header}' file not found")
    endforeach()
endfunction()
