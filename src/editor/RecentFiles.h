#pragma once
// The last four files opened, newest first: kept in the recent-files store (section "Recent Files", keys
// "RecentFile1" to "RecentFile4") and shown in the File menu's items mnuRecentFile(1..5) of the shell
// state, which the main window mirrors. Paths are kept as they were opened, in their own letter case.
#include <string>

namespace tarv {

class EditingContext;

// Records file as the newest entry unless menu items 1 to 4 list it already (compared without regard to
// case). Store failures go to the caller.
void addRecentFile(EditingContext& ctx, const std::string& file);
// Shows the stored entries in the menu; with nothing stored the menu stays as it is. Items are never
// hidden again.
void loadRecentFiles(EditingContext& ctx);
// "&" & n & " " & path, with every "&" of the path doubled so that it shows as itself.
std::string recentFileCaption(int n, const std::string& path);

}  // namespace tarv
