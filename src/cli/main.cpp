#include "Cli.h"

#include <clocale>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> args(argv + 1, argv + argc);
    return pyxa::cli::RunCli(args, std::cout, std::cerr, isatty(STDIN_FILENO) && isatty(STDERR_FILENO));
}
