#include "core/shell/command_line.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "pairly_version.h"
#include "core/store/data_folder.h"

namespace pairly::shell {

namespace {

using Action = CommandLine::Action;

constexpr std::string_view kProgram = "pairlylog";

// One row per option. An option that takes a value gets it from "--name=value" or from the
// next argument; `apply` records it, or refuses it by setting `action` to Refused and
// `refusal` to why (without the program's name).
struct Option {
    std::string_view name;
    bool takesValue;
    void (*apply)(CommandLine& command, const std::string& value);
};

const Option kOptions[] = {
    {"--version", false, [](CommandLine& c, const std::string&) { c.action = Action::Version; }},
    {"--help", false, [](CommandLine& c, const std::string&) { c.action = Action::Help; }},
    {"-h", false, [](CommandLine& c, const std::string&) { c.action = Action::Help; }},
};

const Option* findOption(std::string_view name) {
    for (const Option& option : kOptions) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

CommandLine refuse(std::string text) {
    CommandLine command;
    command.action = Action::Refused;
    command.refusal = std::string(kProgram) + ": " + std::move(text);
    return command;
}

bool isOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && isOption(argument)) {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            const Option* option = findOption(name);
            if (!option) {
                return refuse("知らないオプションです: " + name +
                              "（pairlylog --help で使い方を表示します）");
            }
            std::string value;
            if (equals != std::string::npos) {
                if (!option->takesValue) return refuse(name + " には値を付けられません");
                value = argument.substr(equals + 1);
            } else if (option->takesValue) {
                if (i + 1 >= arguments.size()) return refuse(name + " には値が必要です");
                value = arguments[++i];
            }
            option->apply(command, value);
            if (command.action == Action::Refused) return refuse(command.refusal);
            // The version and the usage answer at once, whatever follows.
            if (command.action == Action::Version || command.action == Action::Help) {
                return command;
            }
            continue;
        }
        if (argument.empty()) return refuse("データフォルダーの名前が空です");
        if (command.folder) return refuse("データフォルダーは一つだけ指定できます: " + argument);
        command.folder = argument;
    }
    return command;
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] ? argv[i] : "");
    return parseCommandLine(arguments);
}

std::string versionLine() { return std::string("ペアリー☆ログ ") + PAIRLY_VERSION; }

std::string usageText() {
    return "使い方: pairlylog [フォルダー]\n"
           "ふたりのダイエット日記、ペアリー☆ログを開きます。\n"
           "  フォルダー  データフォルダー（なければ作ります）。省略すると、今いるフォルダーに\n"
           "              ペアリー☆ログのデータがあればそこ、なければ ~/PairlyLog です。\n"
           "  --version   版を表示して終わります。\n"
           "  --help, -h  この説明を表示して終わります。\n";
}

int answerWithoutWindow(const CommandLine& command, std::ostream& out, std::ostream& err) {
    switch (command.action) {
        case Action::Version:
            out << versionLine() << '\n';
            return out ? 0 : 1;
        case Action::Help:
            out << usageText();
            return out ? 0 : 1;
        case Action::Refused:
            err << command.refusal << '\n';
            return 2;
        case Action::Window:
            break;
    }
    return 0;
}

const std::vector<std::string>& dataFileNames() {
    static const std::vector<std::string> names = {"データ1.txt",    "データ2.txt",
                                                   "ﾌﾟﾗｲﾍﾞｰﾄ1.txt",  "ﾌﾟﾗｲﾍﾞｰﾄ2.txt",
                                                   "状況リスト.txt", "気付きメモ.txt"};
    return names;
}

fs::path chooseDataFolder(const std::optional<std::string>& argument, const fs::path& current,
                          const fs::path& home) {
    if (argument) {
        fs::path folder(*argument);
        if (folder.is_relative() && !current.empty()) folder = current / folder;
        folder = folder.lexically_normal();
        // "/a/b/" names the same folder as "/a/b"; keep the name without the separator.
        if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
        return folder;
    }
    if (!current.empty()) {
        for (const std::string& name : dataFileNames()) {
            if (store::fileExists(current, name)) return current;
        }
    }
    if (!home.empty()) return home / "PairlyLog";
    return current.empty() ? fs::path(".") : current;
}

fs::path currentFolder() {
    std::error_code error;
    fs::path folder = fs::current_path(error);
    return error ? fs::path() : folder;
}

fs::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}

bool makeDataFolder(const fs::path& folder, std::string& problem) {
    std::error_code error;
    fs::create_directories(folder, error);
    std::error_code checked;
    if (fs::is_directory(folder, checked)) return true;
    if (!error) error = checked ? checked : std::make_error_code(std::errc::not_a_directory);
    problem = std::string(kProgram) + ": データフォルダー " + folder.string() +
              " を作れません: " + error.message();
    return false;
}

}  // namespace pairly::shell
