#pragma once

#include "files/filestep.h"

#include <QString>

#include <string>

// What the words of saving and of opening share: a name as it is shown, the system's reason, a
// kind of file, and the steps of finding a file by its name.
namespace zev {

// A name on one line and at a length a message box can hold.
QString shownName(const QString& name);

// A path the file layer gave; an empty one is the current folder.
QString shownPath(const std::string& path);

// The system's reason for a failure, in words that follow any step.
QString reasonText(int error);

// What a file that is not a regular one is: "ez egy mappa", ...
QString kindText(mode_t kind);

// "what (the failure's place): its reason".
QString placedText(const QString& what, const FileFailure& failure);

// The words of a step of finding the file (Folder, Find).
QString findingText(const FileFailure& failure);

} // namespace zev
