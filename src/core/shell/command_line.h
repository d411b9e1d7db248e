#pragma once
// The program's command line: `pairlylog [FOLDER]`, `--version`, `--help`,
// `--export-csv FILE`, `--import-csv FILE --partner 1|2`, and the choice of the data
// folder. No Qt: the answers that need no window are given before Qt starts, so they work
// without a display.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace pairly::shell {

namespace fs = std::filesystem;

struct CommandLine {
    // Window: start the program; Version, Help: print and end; ExportCsv, ImportCsv: the
    // file's work without a window; Refused: a bad command line.
    enum class Action { Window, Version, Help, ExportCsv, ImportCsv, Refused };
    Action action = Action::Window;
    std::optional<std::string> folder;  // the FOLDER argument as typed
    std::string file;                   // the CSV file to write or to read
    int partner = 0;                    // --partner: 1 or 2, 0 when not given
    std::string refusal;                // why it was refused, one line without a line end
};

// The arguments after the program name. An option may carry its value as "--name=value" or
// as the next argument; "--" ends the options. Never throws.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);
CommandLine parseCommandLine(int argc, const char* const* argv);

// "ペアリー☆ログ 1.0.0"
std::string versionLine();
// A few lines on the FOLDER argument and the options.
std::string usageText();

// Prints what a non-window action answers and gives the exit status: 0 for the version
// and the usage (on out), 2 for a refusal (one line on err); the export and the import
// as runFileCommand in the current folder.
int answerWithoutWindow(const CommandLine& command, std::ostream& out, std::ostream& err);

// The export or the import in the data folder chosen as for the window (which must exist;
// a relative FILE is taken from `current`): 0 and one line on out when done, 1 and one line
// on err when not (every file then unchanged).
int runFileCommand(const CommandLine& command, const fs::path& current, const fs::path& home,
                   std::ostream& out, std::ostream& err);

// The files whose presence makes a folder a data folder of the program.
const std::vector<std::string>& dataFileNames();

// The data folder: the FOLDER argument (relative to `current`) when given; else `current`
// when it holds any of the data files (names matched as the store matches them); else
// PairlyLog in `home`. An empty `current` or `home` is one that is not known.
fs::path chooseDataFolder(const std::optional<std::string>& argument, const fs::path& current,
                          const fs::path& home);

// The folder the program is started in, and the user's home folder (HOME, else the
// password database); empty when not known.
fs::path currentFolder();
fs::path homeFolder();

// Creates the chosen folder and its parents when missing. On failure a line for err.
bool makeDataFolder(const fs::path& folder, std::string& problem);

}  // namespace pairly::shell
