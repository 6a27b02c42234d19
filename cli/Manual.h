#pragma once

#include <string>

/// The manual page, in the man macros, made from what --help says.
std::string ManualPage();
/// A bash completion script for quorlin: its options, the actions, scopes,
/// sorting orders and value names.
std::string BashCompletion();
