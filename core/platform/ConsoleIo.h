// The command-line tool's arguments and standard streams, the same on every system:
// arguments in UTF-8, output written byte for byte, UTF-8 shown as UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace ek {

// The arguments after the program's name. On Windows they come from the wide
// command line in UTF-8 (argv holds them in the ANSI code page, which loses the
// characters it lacks); elsewhere they are argv's bytes.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// On Windows: standard output and error in binary mode (no LF to CR LF), and a
// console that shows UTF-8 and colour sequences for as long as the program runs.
// Elsewhere nothing needs doing.
void PrepareStandardStreams();

// True when `stream` is a terminal or console (not a file, pipe or device).
bool IsTerminal(std::FILE* stream);

}  // namespace ek
