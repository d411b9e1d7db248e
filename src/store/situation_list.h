#pragma once
// The shared situation list "状況リスト.txt".
#include <filesystem>
#include <string>
#include <vector>

namespace pairly::store {

// The list written on a first run.
const std::vector<std::string>& defaultSituations();

std::vector<std::string> loadSituationList(const std::filesystem::path& folder);
// Writes the default list when the file does not exist; returns false only on a write error.
[[nodiscard]] bool ensureSituationList(const std::filesystem::path& folder);
[[nodiscard]] bool appendSituationBare(const std::filesystem::path& folder,
                                       const std::string& entry);
[[nodiscard]] bool appendSituationQuoted(const std::filesystem::path& folder,
                                         const std::string& entry);
// Whole list, one bare line each (an empty list gives an empty file).
[[nodiscard]] bool rewriteSituationList(const std::filesystem::path& folder,
                                        const std::vector<std::string>& entries);
// Replaces oldText by newText in the slot's log (through "データＣＨＧ.txt") and in the
// list (through "状況リストＣＨＧ.txt", entries quoted). Both by rename-over.
[[nodiscard]] bool renameSituation(const std::filesystem::path& folder, int slot,
                                   const std::string& oldText, const std::string& newText);

}  // namespace pairly::store
