#include "cli/Options.h"

#include "cli/Names.h"

const char* const kDescription =
    "Renames files and folders in one go with one of the rename actions, or several in turn.\n"
    "Each run names its action with --action (more, one a step, after --then), runs a preset with --preset,\n"
    "or repeats the last run with --last; whatever else is not given takes its default. A run stores\n"
    "what it used, for --last and for the rename dialog.\n"
    "Every run keeps a journal of its renames: --undo renames its items back, even after a crash.";

const std::vector<CExample> kExamples = {
    {"See what would happen, renaming nothing: IMG_0001.jpg becomes Photo 0001.jpg",
     "quorlin -p -a replace-anywhere -s find=IMG_ -s 'replace=Photo ' -c name ~/Pictures/trip"},
    {"Number the files of a folder 001, 002, ... in name order",
     "quorlin -a add-number-to-beginning -s start=1 -s digits=3 --sort name --no-folders ~/scans"},
    {"Count down by two from 100, newest first",
     "quorlin -a add-number-to-end -s start=100 -s step=-2 -c name --sort modified-desc --no-folders ."},
    {"Put a dash before the last four characters of each name",
     "quorlin -a insert-anywhere -s add=- -s addAnywhereSelection=position -s toPosition=4 "
     "-s toOrderType=end -c name ."},
    {"Name photos and videos by when they were taken, oldest first: IMG_1.heic becomes 2023-05-01 10-00-00.heic",
     "quorlin -a rename-to-date -s date=use-date-taken-photos-and-videos -s dateFormat=yyyy-mm-dd "
     "-s timeFormat=dash-hh-mm-ss-24-hour-clock -s 'seperator= ' -c name --sort taken ~/Phone"},
    {"Name music files from their tags: track.mp3 becomes 07 AC_DC - Touch Too Much.mp3",
     "quorlin -a rename-from-tags -s 'tagTemplate={track:2} {artist} - {title}' -c name ~/Music/new"},
    {"Lower-case every extension, asking before each rename", "quorlin -a make-lowercase -c ext --confirm ~/Downloads"},
    {"Repeat the last run on another folder", "quorlin --last ~/scans2"},
    {"Two steps in one run: IMG_0042.JPG becomes Photo 0042.jpg",
     "quorlin -a replace-anywhere -s find=IMG_ -s 'replace=Photo ' -c name --then -a make-lowercase -c ext "
     "~/Pictures/trip"},
    {"Swap two words around a dash with a pattern: \"Smith - Anna\" becomes \"Anna Smith\"",
     "quorlin -a replace-by-pattern -s 'pattern=^(\\w+) - (\\w+)$' -s 'with=$2 $1' -c name ~/Contacts"},
    {"Keep a run as a preset, run it later, and pass it on as a file",
     "quorlin --save-preset photos -a make-lowercase -c ext && quorlin --preset photos ~/new && "
     "quorlin --export-preset photos photos.json"},
    {"List the presets kept", "quorlin --presets"},
    {"Edit the names of a folder's files in your editor; what you change is renamed, after a preview",
     "quorlin --edit --no-folders ~/scans"},
    {"Rename from two columns of a spreadsheet saved as CSV: old name, new name",
     "quorlin --from names.csv ~/Pictures/trip"},
    {"Write the plan of a run, look at it, then run exactly that plan",
     "quorlin -p --json -a make-lowercase -c ext ~/Downloads > plan.json && quorlin --from plan.json"},
    {"List what a run would take, for another program", "quorlin --save-list - --null -a make-lowercase . | xargs -0 ls -ld"},
    {"Take the last run back, then see the runs that can still be taken back", "quorlin --undo && quorlin --history"},
};

namespace {

std::string Footer() {
    std::string out = "Examples:\n";
    for (const auto& e : kExamples) out += std::string("  # ") + e.what + "\n  " + e.command + "\n";
    out += "\nSorting orders (--sort): ";
    for (size_t i = 0; i < SortOrderNames().size(); ++i) out += (i ? ", " : "") + std::string(SortOrderNames()[i]);
    out += "\n  (see --actions for what each means; the numbers 0 to 9 are taken too)\n";
    out += "Scopes (--change): entire, name, ext-dot (extension with its dot), ext (extension without it)\n";
    out += "Choices of a value (--set) are taken by name or by number, as --actions lists them.\n";
    out +=
        "\nExit status: 0 when everything asked for was done (a skip you chose counts as done), 1 when\n"
        "something was skipped or failed, or a preview shows a conflict, 2 for bad usage.\n"
        "Environment: QUORLIN_SETTINGS, the settings file; XDG_STATE_HOME, below which the journals of the\n"
        "runs are kept (in quorlin/, the last 20 runs); NO_COLOR turns colours off.";
    return out;
}

}  // namespace

void Define(CLI::App& app, CCommandLine& command, Parsing& p) {
    app.get_formatter()->column_width(34);
    app.footer(Footer());
    app.add_option("paths", command.paths, "Files and folders to rename (folders: with their contents)")
        ->type_name("PATH");
    p.actionOption =
        app.add_option("-a,--action", p.actions, "The action, by its text (\"Replace anywhere\") or short form")
            ->type_name("ACTION")
            ->allow_extra_args(false);
    app.add_flag("--last", command.last, "Repeat the last run: its actions, values, scopes and options");
    p.setOption = app.add_option("-s,--set", p.values, "A value of the action by its name, as find=IMG (repeatable)")
                      ->type_name("NAME=VALUE")
                      ->allow_extra_args(false);
    p.scopeOption =
        app.add_option("-c,--change", p.scopes, "What part of each name changes: entire, name, ext-dot, ext")
            ->type_name("SCOPE")
            ->allow_extra_args(false);
    p.thenOption = app.add_flag("--then")->description(
        "End a step and start the next: its --action, --set and --change follow; each name passes through the "
        "steps in order");
    p.presetOption = app.add_option("--preset", p.preset, "Run the steps and options of a preset, by its name or file")
                         ->type_name("NAME|FILE");
    p.savePresetOption =
        app.add_option("--save-preset", p.savePreset,
                       "Keep this run's steps and options as a preset named NAME (without paths: only that)")
            ->type_name("NAME");
    app.add_flag("--presets", command.presets, "List the presets kept, with their steps");
    p.exportOption = app.add_option("--export-preset", p.exported,
                                    "Write the preset NAME to FILE (- for standard output), for the dialog or "
                                    "another computer")
                         ->type_name("NAME FILE")
                         ->expected(2)
                         ->allow_extra_args(false);
    app.add_flag("--edit", command.edit,
                 "Edit the names in an editor ($VISUAL, $EDITOR), one a line in the run's order; renames what "
                 "changed, after a preview and a question");
    p.fromOption = app.add_option("--from", p.from,
                                  "Take the new names from FILE (- for standard input): one a line in the run's "
                                  "order, old and new apart by a tab or as CSV, or a plan of --preview --json")
                       ->type_name("FILE");
    app.add_flag("-y,--yes", command.yes, "With --edit, rename without asking");
    p.sortOption =
        app.add_option("--sort", p.sort, "The order of processing and numbering, as name-desc")->type_name("ORDER");
    // The section options, from the one table of them that the dialog and
    // its settings read too.
    for (const CSectionOption& option : SectionOptions()) {
        if (!option.onFlag) continue;
        Parsing::Toggle t{&option};
        t.onOption = app.add_flag(option.onFlag)->description(option.help);
        t.offOption = app.add_flag(option.offFlag);
        p.toggles.push_back(t);
    }
    app.add_flag("-p,--preview", command.preview,
                 "Show what each item would be renamed to and what the run would meet; rename nothing");
    app.add_flag("--all", command.all, "With --preview, show the items whose names stay as they are too");
    app.add_flag("--json", command.json,
                 "With --preview, write the plan: one JSON object a line with each item's path, new name and "
                 "status, for --from");
    p.saveOption =
        app.add_option("--save-list", p.saveList, "Write the paths of the items to FILE (- for standard output); rename nothing")
            ->type_name("FILE");
    app.add_flag("--force", command.force, "Let --save-list replace an existing file (never one it lists)");
    app.add_flag("-0,--null", command.nulls,
                 "With --save-list, end each path with a NUL rather than a line break (for xargs -0)");
    p.conflictOption =
        app.add_option("--on-conflict", p.onConflict,
                       "Without asking, a name that cannot be used is skipped, numbered or stops the run")
            ->type_name("POLICY")
            ->check(CLI::IsMember({"skip", "number", "stop"}));
    p.undoOption = app.add_option("--undo", p.undo,
                                  "Rename the items of the last run that renamed something (or of run N of "
                                  "--history) back; never overwrites, leaves alone what changed since")
                       ->type_name("N")
                       ->expected(0, 1);
    app.add_flag("--history", command.history,
                 "List the runs kept for --undo, newest first: when, how many items, where");
    app.add_flag("--actions", command.actions, "List the actions with their values, the scopes and the orders");
    app.add_option("--settings", command.settings, "The settings file (else $QUORLIN_SETTINGS, else the usual place)")
        ->type_name("FILE");
    app.add_flag("--version", p.version, "Show the version");
    // For the build, which makes the manual page and the completion from these.
    app.add_flag("--manual-page", p.man)->group("");
    app.add_flag("--bash-completion", p.completion)->group("");
}

std::vector<std::string> OptionNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::Option* o : app.get_options()) {
        if (o->get_group().empty() || o->get_positional()) continue;
        for (const auto& l : o->get_lnames()) names.push_back("--" + l);
        for (const auto& s : o->get_snames()) names.push_back("-" + s);
    }
    return names;
}

