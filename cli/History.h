#pragma once

#include <string>
#include <vector>

#include "core/Journal.h"

/// The runs that --history lists, newest first, numbered as --undo takes
/// them, each with when it started, how many items it renamed and where:
///
///     #  Started              Items  Run
///     1  2024-05-01 12:00:03   3000  "Add to beginning" in /home/u/pics
///
/// A run cut short counts the items it may have renamed too, and says so;
/// a run taken back by a later undo in the list says which, and a journal
/// that is not trusted says why.
std::string HistoryTable(const std::vector<CJournalRun>& runs);
