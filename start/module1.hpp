#pragma once

namespace mofu::Module1 {

// The start procedure: answers the screen-saver command line.
void Main();

// Lets go of the windows the program loaded.
void ReleaseForms();

}  // namespace mofu::Module1
