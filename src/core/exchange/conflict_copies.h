#pragma once
// Copies of the data files that file-sync tools make when the same file was changed on two
// PCs at once. The program reads only the files themselves, so a change made on the other
// PC may live on in such a copy alone: the start-up names them.
#include <filesystem>
#include <string>
#include <vector>

namespace pairly::exchange {

struct ConflictCopy {
    std::string copy;      // the copy's name
    std::string original;  // the data file it shadows, as the program spells it
    bool operator==(const ConflictCopy&) const = default;
};

// The names among `names` that are conflict copies of a data file, in the order given:
//   データ1.sync-conflict-20261207-101010-ABCDEFG.txt   (Syncthing)
//   データ1 (DESKTOP-AB12's conflicted copy 2026-12-07).txt, … 競合コピー …   (Dropbox and alike)
//   データ1-DESKTOP-AB12.txt   (the name of the PC before the extension, in capitals)
std::vector<ConflictCopy> findConflictCopies(const std::vector<std::string>& names);
// The same for the files of the data folder.
std::vector<ConflictCopy> conflictCopiesIn(const std::filesystem::path& folder);
// One message naming every copy and the file it shadows.
std::string conflictCopiesText(const std::vector<ConflictCopy>& copies);
inline constexpr char kConflictCopiesTitle[] = "競合コピーの確認";

}  // namespace pairly::exchange
