#include "platform/terminal_prompt.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace {
bool stdin_is_terminal()
{
    return isatty(STDIN_FILENO) == 1;
}
}  // namespace

bool ask_yes_no(const char* question, const char* caption)
{
    if (!stdin_is_terminal())
        return false;
    std::cout << caption << ": " << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    size_t i = answer.find_first_not_of(" \t");
    return i != std::string::npos && (answer[i] == 'y' || answer[i] == 'Y');
}

void show_notice(const char* text, const char* caption)
{
    std::cerr << "[" << caption << "]\n" << text << std::endl;
    if (!stdin_is_terminal())
        return;
    std::cerr << "(press Enter)" << std::flush;
    std::string line;
    std::getline(std::cin, line);
}
