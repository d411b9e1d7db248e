#include "core/disk/file_notices.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "core/disk/folder_lock.h"

namespace pairly::disk {

FileNotice staleFileNotice(std::string_view fileName, bool textKept) {
    std::string text(fileName);
    text +=
        " は、このウィンドウで読み込んだ後に、別のウィンドウか別のパソコンで変更されていました"
        "。\n上書きしないよう、保存を中止しました。\n\n"
        "今の内容を読み込み直したので、確かめてからもう一度操作してください。";
    if (textKept) text += "\n入力していた文章は、クリップボードにコピーしてあります。";
    return {text, "保存中止"};
}

FileNotice partlyReadNotice(std::string_view fileName, std::string_view why) {
    std::string text(fileName);
    text += " を読み込めませんでした。\n";
    text += why;
    text += "読み込めた分だけを表示しています。ファイルとディスクの状態を確認してください。";
    return {text, "読み込みエラー"};
}

FileNotice unsyncedNotice(std::string_view fileName) {
    return {std::string(fileName) +
                " に保存しましたが、ディスクに書き込まれたことを確かめられませんでした。\n"
                "停電などがあると、この変更が失われるおそれがあります。"
                "ディスクの状態を確認してください。",
            "書き込み確認エラー"};
}

std::optional<FileNotice> unusableFilesNotice(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::string lines;
    const auto add = [&lines](std::string_view name, FileProblem problem) {
        lines += fileProblemText(name, problem) + "\n";
    };
    for (const char* name : kDataFileNames) {
        const std::string shown = resolveFile(folder, name).filename().string();
        if (const FileProblem problem = fileProblemOf(folder, shown); problem != FileProblem::None)
            add(shown, problem);
    }
    const fs::path backups = folder / kBackupFolder;
    std::error_code ec;
    if (fs::is_symlink(backups, ec)) {
        add(kBackupFolder, FileProblem::Link);
    } else {
        std::vector<std::string> linked;
        for (fs::directory_iterator it(backups, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code kind;
            if (it->is_symlink(kind)) linked.push_back(it->path().filename().string());
        }
        std::sort(linked.begin(), linked.end());
        for (const std::string& name : linked)
            add(std::string(kBackupFolder) + "/" + name, FileProblem::Link);
    }
    if (lines.empty()) return std::nullopt;
    return FileNotice{lines +
                          "\nこれらは読み込まず、書き換えも削除もしません。"
                          "データフォルダに普通のファイルとして置き直してください。",
                      "データファイルの確認"};
}

std::optional<FileNotice> blockedWriteNotice(const std::filesystem::path& folder,
                                             WriteStatus status, std::string_view fileName) {
    if (status == WriteStatus::Busy) return FileNotice{busyText(), "保存中止"};
    if (status != WriteStatus::Unusable) return std::nullopt;
    FileProblem problem = fileProblemOf(folder, fileName);
    // Found by reading only (a file that grew past the bound meanwhile).
    if (problem == FileProblem::None) problem = FileProblem::TooLarge;
    return FileNotice{
        fileProblemText(fileName, problem) + "\n保存を中止しました。データは変更されていません。",
        "保存中止"};
}

}  // namespace pairly::disk
