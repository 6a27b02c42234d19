#pragma once

#include <string>

#include "cli/Arguments.h"

class CMainDlgModel;

/// Puts the typed steps into `model`: each step's scope, action and values,
/// one step after another. With --last or --preset the model holds the
/// run's steps already: a --set goes to the last step that has a value of
/// its name, and --change to a run of one step. False with a one-line
/// reason.
bool ConfigureSteps(CMainDlgModel& model, const CCommandLine& command, std::string& error);

/// Why the steps of `model` build no operation, as one line: the pattern
/// that does not compile, or the values a step needs. Shows that step.
/// Empty when every step builds one.
std::string NoOperationReason(CMainDlgModel& model);
