#pragma once

// How the main program's own painted containers and its input-error window speak to assistive
// technology: the group box as a group named by its caption, the bevel as a separator, the panel
// as a pane, the status bar with its hint as its text, and the input-error window as an alert
// whose name is its heading and whose description is its message. Installs the widgets' factory
// too; installed once at start-up.
void InstallShellAccessibility();
