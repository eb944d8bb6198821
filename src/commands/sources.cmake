# Command identifiers, the command table, routing, key bindings, menu and tool-bar layouts.
tarn_core_sources(command_table.cpp command_router.cpp key_bindings.cpp menu_layout.cpp
                  tool_bar_layout.cpp command_handlers.cpp)
tarn_ui_sources(menu_builder.cpp)
