#pragma once
// Where the programs find the files they ship with (the MIB, the compiled
// help), and whether a program runs from an installed tree.
//
// The folders, in the order they are searched:
//  1. beside the program: a build tree, or a copy carried with its files;
//  2. the data folder of the installation the program belongs to
//     (<prefix>/share/corvane-manager), found from the program's own folder,
//     so an installed tree still works after it was moved;
//  3. the corvane-manager folder in each of the user's and the system's data
//     folders (XDG_DATA_HOME, XDG_DATA_DIRS).

#include <QString>
#include <QStringList>

namespace config {

// The search folders of a program that lives in `programFolder`, without
// repeats; they need not exist.
QStringList dataFolders(const QString &programFolder);
// The same for this program.
QStringList dataFolders();

// The first folder of `folders` that holds `fileName`, as a full path;
// empty when none does.
QString findDataFile(const QString &fileName, const QStringList &folders);
QString findDataFile(const QString &fileName);

// Whether `programFolder` belongs to an installed tree: its installation's
// data folder is there. An installed program writes into the user's
// folders, never beside itself.
bool runsInstalled(const QString &programFolder);

}  // namespace config
