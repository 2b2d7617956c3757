// The dialogs' resources: the two templates, the icon and the string table.
#pragma once

// Registers them with the framework; idempotent, so every dialog's
// constructor can make sure of them before it loads one.
void RegisterUiResources();
