#include "core/shell/command_line.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <system_error>

#include "core/disk/change_set.h"
#include "core/disk/data_folder.h"
#include "core/disk/file_notices.h"
#include "core/disk/folder_lock.h"
#include "core/exchange/csv_export.h"
#include "core/exchange/csv_import.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/text/dates.h"
#include "pairly_version.h"

namespace pairly::shell {

namespace {

using Action = CommandLine::Action;

constexpr std::string_view kProgram = "pairlylog";

// One row per option. An option that takes a value gets it from "--name=value" or from the
// next argument; `apply` records it, or refuses it by setting `action` to Refused and
// `refusal` to why (without the program's name).
struct Option {
    std::string_view name;
    // The refusal when the value it needs is missing; "" for an option without a value.
    std::string_view missing;
    void (*apply)(CommandLine& command, const std::string& value);
};

const Option kOptions[] = {
    {"--version", "", [](CommandLine& c, const std::string&) { c.action = Action::Version; }},
    {"--help", "", [](CommandLine& c, const std::string&) { c.action = Action::Help; }},
    {"-h", "", [](CommandLine& c, const std::string&) { c.action = Action::Help; }},
    {"--export-csv", "--export-csv には書き出すファイルの名前を指定してください",
     [](CommandLine& c, const std::string& file) {
         c.action = c.action == Action::Window ? Action::ExportCsv : Action::Refused;
         c.file = file;
     }},
    {"--import-csv", "--import-csv には読み込むファイルの名前を指定してください",
     [](CommandLine& c, const std::string& file) {
         c.action = c.action == Action::Window ? Action::ImportCsv : Action::Refused;
         c.file = file;
     }},
    {"--partner", "--partner には 1 か 2 を指定してください",
     [](CommandLine& c, const std::string& value) {
         if (c.partner != 0) {
             c.action = Action::Refused;
             c.refusal = "--partner は一つだけ指定できます";
         } else if (value == "1" || value == "2") {
             c.partner = value[0] - '0';
         } else {
             c.action = Action::Refused;
             c.refusal = "--partner には 1 か 2 を指定してください: " + value;
         }
     }},
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
            const bool takesValue = !option->missing.empty();
            // An option in the place of the value means the value was left out: the
            // option is not taken as a file, nor what follows it as the folder.
            const auto missing = [&] { return refuse(std::string(option->missing)); };
            std::string value;
            if (equals != std::string::npos) {
                if (!takesValue) return refuse(name + " には値を付けられません");
                value = argument.substr(equals + 1);
            } else if (takesValue) {
                if (i + 1 >= arguments.size() || isOption(arguments[i + 1])) return missing();
                value = arguments[++i];
            }
            if (value.empty() && takesValue) return missing();
            const Action was = command.action;
            option->apply(command, value);
            if (command.action == Action::Refused) {
                if (command.refusal.empty() && was != Action::Window)
                    return refuse("--export-csv と --import-csv は一度に一つだけ指定できます");
                return refuse(command.refusal);
            }
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
    if (command.action == Action::ImportCsv && command.partner == 0)
        return refuse("--import-csv には --partner 1 か --partner 2 を付けてください");
    if (command.action != Action::ImportCsv && command.partner != 0)
        return refuse("--partner は --import-csv と一緒に指定します");
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
           "  --export-csv ファイル\n"
           "              "
           "ふたりの測定をCSVファイルに書き出して終わります（ウィンドウは開きません）。\n"
           "  --import-csv ファイル --partner 1|2\n"
           "              CSV（ペアリー☆ログ、openScale、日付と体重の列があるもの）か\n"
           "              測定データのファイルを、\n"
           "              一人目（1）か二人目（2）の測定に読み込んで終わります。\n"
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
        case Action::ExportCsv:
        case Action::ImportCsv:
            return runFileCommand(command, currentFolder(), homeFolder(), out, err);
        case Action::Window:
            break;
    }
    return 0;
}

namespace {

std::string writeProblem(disk::WriteStatus status) {
    switch (status) {
        case disk::WriteStatus::Stale:
            return "書き込みの途中でデータファイルが変更されました。もう一度実行してください";
        case disk::WriteStatus::ReadFailed:
            return "データファイルを読み込めませんでした";
        case disk::WriteStatus::OldLayout:
            return "データ1.txt "
                   "が以前の形式のままです。先にペアリー☆ログを起動して変換してください";
        case disk::WriteStatus::Unsynced:
            return "書き込みましたが、ディスクが書き込みを確認できませんでした";
        case disk::WriteStatus::Busy:
            return "別のウィンドウが保存中です。少し待ってから、もう一度実行してください";
        case disk::WriteStatus::Unusable:
            return "データファイルがリンクか普通のファイルではないため、使いません";
        default:
            return "書き込めませんでした。" + std::string(disk::kWriteFailedAdvice);
    }
}

// Today by the computer's clock, in its time zone.
text::Date localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return {1970, 1, 1};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// One line: the breaks of a longer message become blanks.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

}  // namespace

int runFileCommand(const CommandLine& command, const fs::path& current, const fs::path& home,
                   std::ostream& out, std::ostream& err) {
    const auto fail = [&err](const std::string& text) {
        err << kProgram << ": " << oneLine(text) << '\n';
        return 1;
    };
    const fs::path folder = chooseDataFolder(command.folder, current, home);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return fail("データフォルダー " + folder.string() + " がありません");
    // A change a crash left half done is finished by the program's start first.
    if (disk::fileExists(folder, disk::kIntentFile))
        return fail("前回の書き換えが終わっていません。先にペアリー☆ログを起動してください");
    fs::path file(command.file);
    if (file.is_relative() && !current.empty()) file = current / file;

    if (command.action == Action::ExportCsv) {
        const exchange::ExportResult result = exchange::exportCsv(folder, file);
        if (result.status == disk::WriteStatus::ReadFailed)
            return fail(result.file + " を読み込めませんでした");
        if (result.status == disk::WriteStatus::Refused ||
            result.status == disk::WriteStatus::Unusable)
            return fail(exchange::exportRefusalText(file.string(), result));
        if (!result.written()) return fail(file.string() + ": " + writeProblem(result.status));
        out << result.weighings << " 件の測定を " << file.string() << " に書き出しました\n";
        if (result.status == disk::WriteStatus::Unsynced) return fail(writeProblem(result.status));
        return 0;
    }

    // A log without its partner would skip the registration the first start asks for.
    if (!disk::fileExists(folder, store::profileFileName(command.partner)) &&
        !disk::fileExists(folder, store::logFileName(command.partner)))
        return fail(std::string(command.partner == 1 ? "一人目" : "二人目") +
                    "がまだ登録されていません。先にペアリー☆ログを起動して登録してください");
    const exchange::ImportRead read = exchange::readImport(file, localToday(), command.partner);
    if (!read.usable()) return fail(file.string() + ": " + exchange::importProblemText(read));
    // Held from reading the log to the end of the merge: a second import at the same time
    // waits for this one and then merges into its result, instead of finding the log changed.
    const disk::FolderLock lock(folder);
    if (!lock.held()) return fail(writeProblem(lock.failure()) + "。データは変更されていません");
    const disk::FileBytes log = disk::readFileBytes(folder, store::logFileName(command.partner));
    if (log.failed()) return fail(store::logFileName(command.partner) + " を読み込めませんでした");
    const exchange::MergeResult merged =
        exchange::mergeImport(folder, command.partner, read.rows, log.stamp);
    if (merged.tooMany)
        return fail("測定が上限（" + std::to_string(store::kMaxRecords) +
                    "件）を超えるため、読み込みを中止しました。データは変更されていません");
    if (merged.status != disk::WriteStatus::Ok && !merged.written())
        return fail(writeProblem(merged.status) + "。データは変更されていません");
    out << exchange::mergeCountsText(merged, read.otherPartnerRows) << '\n';
    if (merged.status == disk::WriteStatus::Unsynced) return fail(writeProblem(merged.status));
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
            if (disk::fileExists(current, name)) return current;
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
