#pragma once
// Where the desktop program keeps its setup file "generate.stp". Beside the
// program when that file is already there or the folder takes new files, so a
// portable copy works as it always has; for a program installed under /usr,
// or one whose folder takes no files, in the user's configuration folder for
// Korvana. Chosen once at start and used for reading and writing alike.
#include <QString>

// The folder that holds or will hold the setup file, for a program in
// `programFolder`; the configuration folder is created when it is chosen.
QString ChooseSetupFolder(const QString& programFolder);

// The configuration folder: "korvana" in the user's configuration folder
// ($XDG_CONFIG_HOME when it is an absolute path, else ~/.config).
QString UserSetupFolder();

// Whether the program's folder is one a package installs into (under /usr),
// where nothing of a user's is written.
bool IsInstalledFolder(const QString& programFolder);

// Whether the setup file in the folder can be written at close: the file
// itself when it exists, else a new file in the folder.
bool SetupFileWritable(const QString& folder);

// Whether a new file can be made in the folder: tried, not read off the
// permission bits (which do not tell a read-only disk, or what root may do).
bool FolderTakesNewFiles(const QString& folder);
