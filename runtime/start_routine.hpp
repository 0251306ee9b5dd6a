#pragma once

namespace mofu {

class Host;

// Prepares the runtime, calls the start procedure, then keeps dispatching
// events while a window is loaded. Returns the process's exit status: 0 when
// the program ended itself, 1 after an error no recovery caught, which the
// host reports once the windows are gone. `release_forms` lets go of the
// program's windows while the host still stands.
int RunProgram(Host& host, void (*start_procedure)(), void (*release_forms)());

}  // namespace mofu
