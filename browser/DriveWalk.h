#pragma once
// The walk of drive C that the folder browser starts before its window is
// built, so that the searches run while the window is made.
#include "browser/FolderSource.h"
#include "browser/FolderWalk.h"
#include "browser/SearchWindow.h"

struct TSearchWindow::DriveWalk {
    // Starts the searches below `rootPath`.
    explicit DriveWalk(const String& rootPath);

    DiskFolderSource disk; // declared first: it outlives the walk that searches it
    FolderTreeWalk<DiskFolderSource> walk;
};
