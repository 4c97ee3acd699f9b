// Resource 128 of the main frame: menu bar, accelerator table, tool-bar layout and
// the prompt and tool-tip texts of the commands.
#pragma once

#include <wx/accel.h>
#include <wx/menu.h>

#include <string>
#include <vector>

namespace ek {

wxMenuBar* CreateMainMenuBar();

// Every accelerator of the frame, plain N, P and T included.
std::vector<wxAcceleratorEntry> MainAccelerators();

// The tool-bar buttons in order; ID_SEPARATOR stands for a separator.
const std::vector<int>& ToolBarLayout();

// The status-bar prompt and the tool tip of a command (UTF-8); empty when none.
std::string CommandPrompt(int id);
std::string CommandToolTip(int id);

}  // namespace ek
