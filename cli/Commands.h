// The commands of the nimbrel tool, one header each. Every command exposes
// `void Register<Name>Command(CLI::App& app)`, which adds it to the tool's app
// as a subcommand with its options, help text and callback; a callback
// reports failure by throwing CommandError (CommandLine.h).
#pragma once

#include "ConfigCommand.h"
#include "DemoCommand.h"
#include "ReformatCommand.h"
#include "ViewCommand.h"
