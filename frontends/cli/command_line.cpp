#include "frontends/cli/command_line.h"

#include <algorithm>

#include "frontends/cli/cli_options.h"
#include "platform/file_lookup.h"

namespace inkrun::cli {

namespace {

// Windows programs answer "/?" with their help; elsewhere it is a path like any other.
constexpr bool kWindowsConventions = platform::kPathSeparator == '\\';

// A long option by its name or, as getopt_long takes them, by a beginning that only one name of
// the table has: "--out" is "--output". A beginning that several share is refused with them all.
const OptionSpec& findLong(const std::string& name) {
    if (name.empty()) throw UsageError("unknown option '--'");
    std::vector<const OptionSpec*> candidates;
    for (const OptionSpec& option : optionTable()) {
        if (option.longName.empty() || !option.longName.starts_with(name)) continue;
        if (option.longName == name) return option;
        candidates.push_back(&option);
    }
    if (candidates.empty()) throw UsageError("unknown option '--" + name + "'");
    if (candidates.size() == 1) return *candidates.front();
    std::string message = "option '--" + name + "' is ambiguous; possibilities:";
    for (const OptionSpec* candidate : candidates) message += " '--" + std::string(candidate->longName) + "'";
    throw UsageError(message);
}

const OptionSpec* findShort(char name) {
    for (const OptionSpec& option : optionTable())
        if (option.shortName && option.shortName == name) return &option;
    return nullptr;
}

// What picks the drawings, to tell when they are picked twice over.
struct DrawingChoice {
    bool all = false;
    bool recursive = false;
    bool list = false;
};

// Drawings a script: a plain number, at most nine digits long.
std::size_t batchSize(const std::string& value) {
    const bool digits = !value.empty() && value.size() <= 9 &&
                        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    const std::size_t size = digits ? std::stoul(value) : 0;
    if (size == 0) throw UsageError("option '--batch' takes a number of drawings of 1 or more, not '" + value + "'");
    return size;
}

void apply(Options& options, DrawingChoice& choice, const OptionSpec& option, const std::string& value) {
    switch (option.id) {
    case OptionId::Settings: options.settingsDirectory = value; break;
    case OptionId::Dir: options.drawingDirectory = value; break;
    case OptionId::Asc:
    case OptionId::Dsc: options.descending = option.id == OptionId::Dsc; break;
    case OptionId::Locale: options.locale = value; break;
    case OptionId::Slot:
        if (value != "1" && value != "2") throw UsageError("option '--slot' takes 1 or 2, not '" + value + "'");
        options.setupSource = SetupSource::Slot;
        options.slot = value == "1" ? 1 : 2;
        break;
    case OptionId::Setup:
        options.setupSource = SetupSource::File;
        options.setupFile = value;
        break;
    case OptionId::Template: options.setupSource = SetupSource::Template; break;
    case OptionId::All: choice.all = true; break;
    case OptionId::Recursive: choice.recursive = true; break;
    case OptionId::FromList:
        if (choice.list) throw UsageError("option '--from-list' is given twice; put the drawings into one list");
        choice.list = true;
        options.listFile = value;
        break;
    case OptionId::Map: options.maps.push_back(value); break;
    case OptionId::Preamble: options.preamble = value; break;
    case OptionId::Epilogue: options.epilogue = value; break;
    case OptionId::Expand: options.expand = true; break;
    case OptionId::StartAfter: options.startAfter = value; break;
    case OptionId::Batch: options.batch = batchSize(value); break;
    case OptionId::NoChain: options.chain = false; break;
    case OptionId::Strict: options.strict = true; break;
    case OptionId::Output: options.output = value; break;
    case OptionId::DryRun:
        options.dryRun = true;
        if (value.empty()) break;  // -n, or --dry-run alone: the format given, if any, else the report
        if (value == "report") options.dryRunFormat = DryRunFormat::Report;
        else if (value == "blocks") options.dryRunFormat = DryRunFormat::Blocks;
        else if (value == "json") options.dryRunFormat = DryRunFormat::Json;
        else throw UsageError("option '--dry-run' takes report, blocks or json, not '" + value + "'");
        break;
    case OptionId::PrintTemplate: options.action = Action::PrintTemplate; break;
    case OptionId::Quiet: options.quiet = true; break;
    case OptionId::Help: options.action = Action::Help; break;
    case OptionId::Version: options.action = Action::Version; break;
    case OptionId::Drawings:  // has no name to be found by
        break;
    }
}

// Which drawings, once every argument is read: each way of choosing them stands alone, but
// --all adds nothing to --recursive.
DrawingSource drawingSource(const DrawingChoice& choice, const Options& options) {
    const bool names = !options.names.empty();
    if (choice.list) {
        if (names || choice.all || choice.recursive)
            throw UsageError(
                "the list of --from-list names the drawings: give no drawing names, --all or "
                "--recursive beside it");
        return DrawingSource::List;
    }
    if (choice.recursive) {
        if (names) throw UsageError("give drawing names or --recursive, not both");
        return DrawingSource::Recursive;
    }
    if (choice.all) {
        if (names) throw UsageError("give drawing names or --all, not both");
        return DrawingSource::All;
    }
    return DrawingSource::Names;
}

}  // namespace

Options parseArguments(const std::vector<std::string>& args) {
    Options options;
    DrawingChoice choice;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (kWindowsConventions && !optionsEnded && arg == "/?") {
            options.action = Action::Help;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            options.names.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // The option's value: attached to it, or the next argument.
        const auto valueOf = [&](const std::string& shown, const std::optional<std::string>& attached) {
            std::string value;
            if (attached) {
                value = *attached;
            } else {
                if (i + 1 >= args.size()) throw UsageError("option '" + shown + "' needs a value");
                value = args[++i];
            }
            if (value.empty()) throw UsageError("option '" + shown + "' needs a value");
            return value;
        };
        if (arg.starts_with("--")) {
            const std::size_t equals = arg.find('=');
            const OptionSpec& option = findLong(
                arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2));
            const std::string shown = "--" + std::string(option.longName);
            std::optional<std::string> attached;
            if (equals != std::string::npos) attached = arg.substr(equals + 1);
            if (option.argument.empty() && attached) throw UsageError("option '" + shown + "' takes no value");
            if (option.valueOptional) {
                // "--dry-run json" would take a drawing's name for its format.
                if (attached && attached->empty()) throw UsageError("option '" + shown + "' needs a value after '='");
                apply(options, choice, option, attached.value_or(""));
                continue;
            }
            apply(options, choice, option, option.argument.empty() ? std::string() : valueOf(shown, attached));
            continue;
        }
        // Short options, bundled: "-qn" is "-q -n"; an option that takes a value takes the rest
        // of the argument ("-oFILE") or, when nothing is left, the next one.
        for (std::size_t at = 1; at < arg.size(); ++at) {
            const std::string shown{'-', arg[at]};
            const OptionSpec* option = findShort(arg[at]);
            if (!option) throw UsageError("unknown option '" + shown + "'");
            if (option->argument.empty() || option->valueOptional) {
                apply(options, choice, *option, {});
                continue;
            }
            std::optional<std::string> attached;
            if (at + 1 < arg.size()) attached = arg.substr(at + 1);
            apply(options, choice, *option, valueOf(shown, attached));
            break;
        }
    }
    options.drawings = drawingSource(choice, options);
    if (options.batch && options.output == "-")
        throw UsageError("--batch writes several scripts, which cannot all go to standard output (-o -)");
    return options;
}

}  // namespace inkrun::cli
