#include "Password.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace pyxa::cli {

std::vector<TOptionDef> PasswordOptions()
{
    return {{"password-env", true, "VAR", "take the password from the environment variable VAR"},
            {"password-file", true, "FILE", "take the password from the first line of FILE"}};
}

std::vector<TOptionDef> WithVerboseAndPasswordOptions(std::vector<TOptionDef> options)
{
    options.push_back({"verbose", false, "", "show every step"});
    for (TOptionDef& option : PasswordOptions())
        options.push_back(std::move(option));
    return options;
}

TPasswordSetup ReadGivenPassword(const TParsedArgs& args)
{
    TPasswordSetup setup;
    if (args.Has("password-env")) {
        const char* value = std::getenv(args.Value("password-env").c_str());
        if (!value)
            setup.Error = "the environment variable " + args.Value("password-env") + " is not set";
        else
            setup.Given = value;
    } else if (args.Has("password-file")) {
        std::ifstream file(args.Value("password-file"));
        std::string line;
        if (!file || !std::getline(file, line)) {
            setup.Error = "cannot read a password from " + args.Value("password-file");
        } else {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            setup.Given = line;
        }
    }
    if (setup.Given && setup.Given->empty()) {
        setup.Given.reset();
        setup.Error = "the password is empty";
    }
    return setup;
}

namespace {

// Reads one line from the terminal without echo; nothing when there is no terminal.
std::optional<std::string> PromptWithoutEcho(const std::string& prompt)
{
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    termios saved {};
    if (tcgetattr(STDIN_FILENO, &saved) != 0)
        return std::nullopt;
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    std::cerr << prompt << std::flush;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
    if (!read || line.empty())
        return std::nullopt;
    return line;
}

std::optional<std::string> PromptFor(const TPasswordRequest& request)
{
    std::cerr << request.Label << '\n';
    std::optional<std::string> first = PromptWithoutEcho("Enter password: ");
    if (!first || request.Mode != 1)
        return first;
    std::optional<std::string> second = PromptWithoutEcho("Confirm password: ");
    if (!second || *second != *first) {
        std::cerr << "Password mismatch\n";
        return std::nullopt;
    }
    return first;
}

}  // namespace

void InstallPasswordSource(CliHost& host, const TPasswordSetup& setup, bool interactive)
{
    const std::optional<std::string> given = setup.Given;
    host.PasswordSource = [given, interactive](const TPasswordRequest& request) -> std::optional<std::string> {
        if (given)
            return given;
        if (!interactive)
            return std::nullopt;
        return PromptFor(request);
    };
    host.CanAskUser = given.has_value() || interactive;
}

}  // namespace pyxa::cli
