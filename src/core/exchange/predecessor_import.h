#pragma once
// Import of the predecessor program's data at start-up: a weight-only file
// "連続体重.txt", and partner 1's log in the six-field layout of the first edition
// (ルンルン☆ログ) or the second edition (ルンルン☆ログ+). Each asks for the current values
// of the measures the old data lack and converts the old records into partner 1's log.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/measurement_log.h"

namespace pairly::exchange {

// The questions and boxes of the import, answered by the user.
class ImportPrompter {
public:
    virtual ~ImportPrompter() = default;
    // An input box with an empty default: the typed text, empty when cancelled.
    virtual std::string ask(const std::string& prompt, const std::string& title) = 0;
    virtual void warn(const std::string& text, const std::string& title) = 0;
    virtual void inform(const std::string& text, const std::string& title) = 0;
    // A Yes/No question: true for Yes.
    virtual bool confirm(const std::string& text, const std::string& title) = 0;
    // Partner 1's log could not be read to look for old data: a warning, which start-up
    // takes as that log's one read warning.
    virtual void warnLogUnread(const std::string& text, const std::string& title) {
        warn(text, title);
    }
};

enum class ImportSource { WeightOnlyFile, FirstEdition, SecondEdition };
// The predecessor's weight-only file, read at start-up.
inline constexpr char kWeightOnlyFile[] = "連続体重.txt";

// The layout of partner 1's log is told by logLayoutOfFirstLine (measurement_log.h).

// The readings the old data lack are asked for; each is the reading of its place in record
// order (the weight is always in the old data).
enum class ImportMeasure {
    BodyFat = 1,
    BasalMetabolism,
    VisceralFat,
    MuscleMass,
    MuscleScore,
    BoneMass
};
struct ImportQuestion {
    std::string prompt;
    std::string title;
    ImportMeasure measure;
};
// The questions for one source, in the order they are asked.
std::vector<ImportQuestion> importQuestions(ImportSource source);
// Why an answer cannot be taken (it has no number, or an integer measure is outside
// -32768..32767), as the short message shown before asking again; nullopt when it can.
std::optional<std::string> answerProblem(ImportMeasure measure, const std::string& answer);
// Asks every question of the source, again after a short message while an answer cannot
// be taken: the readings answered, the others 0; nullopt as soon as one is empty (declined).
std::optional<store::Readings> askImportAnswers(ImportSource source, ImportPrompter& prompter);

// The converted records of decoded old content: groups of three fields (weight-only file)
// or six (predecessor log), read by the log's reading rule; a record cut short is dropped.
std::vector<store::MeasurementRecord> convertOldRecords(std::string_view content,
                                                        ImportSource source,
                                                        const store::Readings& answers);

enum class ImportResult { NothingFound, Declined, Converted, Failed };

// Check 1: "連続体重.txt" becomes partner 1's log, and is kept as "連続体重bak.txt". A log
// partner 1 already had is kept as "データbak.txt"; when it holds weighings, the user is
// asked first, and No declines. Silent when there is no such file.
ImportResult importWeightOnlyFile(const std::filesystem::path& folder, ImportPrompter& prompter);
// Checks 2 and 3: partner 1's log in a six-field layout is converted and the old log kept
// as "データbak.txt". The second edition is left to importPredecessorPlusData.
ImportResult importPredecessorData(const std::filesystem::path& folder, ImportPrompter& prompter);
ImportResult importPredecessorPlusData(const std::filesystem::path& folder,
                                       ImportPrompter& prompter);
// The three checks in their order, as start-up runs them.
void runPredecessorImport(const std::filesystem::path& folder, ImportPrompter& prompter);

}  // namespace pairly::exchange
