#pragma once
// The editors and viewers behind the main window's entry points. Kept out of
// the main window's library: only the programs put every part together.
namespace crv::main::qt {
class Program;
// Fills the program's entries for the editors and viewers it has.
void wireEditorsAndViewers(Program& program);
}  // namespace crv::main::qt
