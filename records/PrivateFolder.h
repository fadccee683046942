#pragma once

#include <QString>

// Folders that hold persons' data are private to their user.

// Creates `folder` and every missing folder above it, each 0700; folders that exist already are
// left as they are (a stage folder the user made, their home). False when it is not a folder
// afterwards; errno then says why.
bool MakePrivateFolders(const QString& folder);

// The same, and `folder` itself narrowed to 0700 when it exists wider: for a folder the program
// keeps for itself (the journals, the export log), which earlier versions left readable by all.
bool KeepOwnFolderPrivate(const QString& folder);
