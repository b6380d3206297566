#pragma once

namespace tarvex {

// Gives the system back the heap's free pages. A pass over a big log frees more than it keeps
// (the sessions' first chunk list, the day's scratch tables), and without this the process
// would go on holding its peak as long as the window stays open.
void ReturnFreeMemory();

}  // namespace tarvex
