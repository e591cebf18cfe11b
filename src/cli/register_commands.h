#pragma once
// The taxpayer and administrator register commands of krinu-cli.

#include <limits>
#include <vector>

#include "cli/cli.h"

namespace krinu::cli {

void AddRegisterCommands(std::vector<CliCommand>& commands);

}  // namespace krinu::cli
