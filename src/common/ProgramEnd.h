#pragma once
// Ends the whole program at once: the event loop returns and every window
// goes with the process, without its own close handling.
void EndProgram();

// Test seam: when scripted, EndProgram only counts its calls, so a test can
// see that a handler ended the program and carry on.
namespace ProgramEndSeam {
void setScripted(bool on);
bool isScripted();
int calls();
void clear();
}
