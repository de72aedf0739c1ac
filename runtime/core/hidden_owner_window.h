#pragma once
// An invisible top-level window of the runtime's own: it owns windows that must stay off the
// task bar, and it receives exit requests from other threads on the GUI thread.

namespace rt {

void* CreateHiddenOwnerWindow();
void DestroyHiddenOwnerWindow(void* window);

}  // namespace rt
