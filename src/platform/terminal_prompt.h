#pragma once
// Questions and notices on the terminal, where the show has no message boxes.
//
// Both only wait for a person when standard input is a terminal: with no
// terminal (a script, a test, a pipe) the question is answered No at once
// and the notice does not wait.

// Prints "caption: question [y/N] " and reads one line; true only for an
// answer beginning with y or Y. No terminal or end of input means No.
bool ask_yes_no(const char* question, const char* caption);

// Prints the caption and the text to standard error; waits for Enter when a
// terminal is attached.
void show_notice(const char* text, const char* caption);
