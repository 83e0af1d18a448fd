#pragma once
// The program's start-up: reads the command line, decides between running here and starting
// a temporary copy, and drives the engine. Returns the process exit code.
namespace vek {

int RunSetup();

}  // namespace vek
