#include "ui/main_frame_win.h"

namespace tov {

void MainFrame::FillFolderTree() {}
void MainFrame::FolderUp() {}
void MainFrame::OnFolderSelected() {}
void MainFrame::OpenListedFolder() {}
void MainFrame::NavigateToResult() {}

}  // namespace tov
