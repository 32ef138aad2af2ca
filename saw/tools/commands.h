#pragma once
// Every orl-tool command registers itself on the application; its callback
// stores the exit status in `status`.
#include <CLI/CLI.hpp>

namespace orl {

void RegisterPlanCommand(CLI::App& app, int& status);
void RegisterTotalsCommand(CLI::App& app, int& status);
void RegisterSimCommand(CLI::App& app, int& status);
void RegisterRunCommand(CLI::App& app, int& status);
void RegisterImportCommand(CLI::App& app, int& status);
void RegisterLoadPatternCommand(CLI::App& app, int& status);
void RegisterHistoryCommand(CLI::App& app, int& status);

}  // namespace orl
