# The window-system half of the framework, on Qt 6 Widgets.
