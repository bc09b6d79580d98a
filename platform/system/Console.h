// A command-line program's arguments and its standard output and error, as UTF-8 texts with LF line
// ends: the same bytes on every system. On Windows the arguments come from the wide command line (argv
// holds them in the ANSI code page), and text written to a console goes through WriteConsoleW, so that
// every character shows whatever the console's code page.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The program's arguments after its name, in UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Writes the text to stream, which is stdout or stderr.
void WriteText(std::FILE* stream, std::string_view utf8);

// printf's formatting of the arguments, written by WriteText.
void PrintText(std::FILE* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));
