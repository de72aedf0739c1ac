#pragma once
// One run of the tool through a table of faults. First a good executable is loaded and passes
// the check, which unlocks every resolution; then the rows run one after another in the same
// tool; at the end a fresh good executable is loaded and given a resolution, and the window is
// closed. The last file and the way the tool ended show that no row left it unusable.

#include <functional>
#include <string>

#include "tool_driver.h"
#include "tool_files.h"

namespace reliability {

using Controls = e2e::MainControls;
using e2e::ControlsOf;

// Selects the resolution and clicks the apply button; true once the click has been handled.
bool Apply(const Controls& c, const Resolution& resolution);

// Writes a good executable into folder and loads it through the dialog.
bool LoadGoodFile(const e2e::MainWindow& main, const std::wstring& path, uint8_t seed);

using Rows = std::function<void(const e2e::MainWindow&, const Controls&)>;

struct Session {
  e2e::ToolRun run;
  std::wstring lastFile;  // loaded after the rows and given kLastResolution
};
inline const Resolution& kLastResolution = kResolutions[2];

Session RunSession(const e2e::ScratchDirectory& folder, const Rows& rows);

// The last file holds kLastResolution and every other byte as made; the tool ended by its
// window with exit code 0 and no error box.
void ExpectStillUsable(const Session& session);

}  // namespace reliability
