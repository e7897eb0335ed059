# The kit's folders by layer, read by the build and by the sanitizer build. Each library takes every source
# of its folders, and only its own folders are on its include path: the platform-free half cannot even find
# a header of the window system's. A file belongs to the window system's folders when it or its header
# includes a Windows, COM, Direct2D, DirectWrite, WIC or input-method header, directly or through the kit's
# own headers; cmake/CheckIncludeGraph.cmake (the kit_include_graph test) holds the line.
#   base    geometry and value types, the kit's small codes
#   events  event ids, records, the handler registry, event objects
#   style   the style store and the default table
#   tree    the widget tree, routing, focus and Tab order, capture, timers, tooltip areas, menus, drop data,
#           the cursor table, the input-method rules
#   layout  the widgets' layout and state math, the HTML subset, the painter's and the window's geometry
#   com     COM ownership and initialisation
#   drawing Direct2D, DirectWrite and WIC: the render context, the painter, images
#   platform the native window, its procedure, drop target, input method, cursor, menus, dialogs, tooltip
#   widgets the widgets that draw
set(QSSDK_UI_FREE_FOLDERS base events style tree layout)
set(QSSDK_UI_WINDOW_FOLDERS com drawing platform widgets)

# The compiled-in default style table, a library of its own in the build, and the images it embeds.
set(QSSDK_UI_DEFAULT_STYLE style/default_style.cpp)
set(QSSDK_UI_STYLE_IMAGES
    style/images/checkbox.png
    style/images/message_popup.png
    style/images/dropdown_button.png
    style/images/multicontrol_lock.png
    style/images/scroll_button_arrow.png
    style/images/browser_expand.png
    style/images/browser_folder.png
    style/images/browser_item.png
    style/images/browser_virtual.png
    style/images/multiwindow_button.png
    style/images/node_expand_button.png
    style/images/node_port_output.png
    style/images/node_port_input.png
    style/images/timeline_indicator.png
    style/images/timeline_key_mark.png
    style/images/timeline_loop_mark.png
    style/images/curve_editor_mark.png
    style/images/curve_editor_mark_control.png)

# The sources (in out) and the include folders (in out_includes) of the folders under the kit folder.
function(qssdk_ui_folders kit out out_includes)
    set(sources "")
    set(includes "")
    foreach(folder IN LISTS ARGN)
        file(GLOB folder_sources CONFIGURE_DEPENDS ${kit}/${folder}/*.cpp)
        list(APPEND sources ${folder_sources})
        list(APPEND includes ${kit}/${folder})
    endforeach()
    list(REMOVE_ITEM sources ${kit}/${QSSDK_UI_DEFAULT_STYLE})
    set(${out} ${sources} PARENT_SCOPE)
    set(${out_includes} ${includes} PARENT_SCOPE)
endfunction()
