#pragma once
// The factories of the pyxa-cli commands, one per command file.

#include "Command.h"

namespace pyxa::cli {

std::unique_ptr<TCommand> MakeCreateCommand();
std::unique_ptr<TCommand> MakeAddCommand();
std::unique_ptr<TCommand> MakeExtractCommand();
std::unique_ptr<TCommand> MakeTestCommand();
std::unique_ptr<TCommand> MakeEncryptCommand();
std::unique_ptr<TCommand> MakeDecryptCommand();
std::unique_ptr<TCommand> MakeWipeCommand();
std::unique_ptr<TCommand> MakeListCommand();
std::unique_ptr<TCommand> MakeInfoCommand();

}  // namespace pyxa::cli
