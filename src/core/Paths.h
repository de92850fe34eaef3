#pragma once

#include <QString>

namespace kvo {

// The program folder: where connection files, "nfe\", "XML", marker files and
// the like live. $KVO_HOME when set, else the executable's folder.
QString programFolder();
// Overrides the program folder (tests, the command line's --home).
void setProgramFolder(const QString& folder);

// A stored path in Windows form made usable here: "\" becomes "/", a
// relative path ("\evento", "nfe\xml") hangs under the program folder, and a
// drive path ("c:\KVO\pedidos\") maps to <program folder>/drive_c/KVO/pedidos/.
// POSIX absolute paths are kept as they are.
QString localPath(const QString& storedPath);

} // namespace kvo
