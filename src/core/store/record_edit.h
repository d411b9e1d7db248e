#pragma once
// Correcting or deleting one weighing of a log a screen has loaded (with its stamp). The
// log is written back through the safe rewrite only while the file still holds what was
// read (Stale otherwise); every other record and every damaged line keeps its bytes.
#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/store/measurement_log.h"

namespace pairly::store {

// Why an edit was refused before anything was written.
enum class EditRefusal {
    None,
    NoSuchRecord,    // the index is not a record of the log
    StartRecord,     // the first record cannot be deleted while others follow it
    StartAfterNext,  // the first record cannot get a date after the one that follows it
    BeforeStart,     // no other record can move before the first one
    BadDate,         // the date is no real "yyyy/mm/dd" day
    BadText,         // the situation cannot be stored (a quote, a line break, no CP932 form)
};

struct EditResult {
    disk::WriteStatus status = disk::WriteStatus::Ok;  // Refused when `refusal` is set
    EditRefusal refusal = EditRefusal::None;
    disk::FileStamp stamp;  // of the new content, when written
    std::size_t index = 0;  // a correction: where the record is now
    LoadedLog log;          // the log as written (the screen shows it without reading again)
    bool written() const { return disk::isWritten(status); }
};

// The log with record `index` corrected: date, situation and the seven values from
// `values`, its comment and reserved field kept. A record whose date changed leaves its
// place and goes after the records of its new date (before the first later one). Without
// a write; the refusal when the correction is not allowed.
EditResult correctedLog(const LoadedLog& log, std::size_t index, const MeasurementRecord& values);
// The log without record `index`; damaged lines stay where they were.
EditResult reducedLog(const LoadedLog& log, std::size_t index);

// The same, written to the partner's log in `folder`.
[[nodiscard]] EditResult correctRecord(const std::filesystem::path& folder, int slot,
                                       const LoadedLog& log, std::size_t index,
                                       const MeasurementRecord& values);
[[nodiscard]] EditResult removeRecord(const std::filesystem::path& folder, int slot,
                                      const LoadedLog& log, std::size_t index);

// The correction panel's texts as typed: the date ("yyyy/mm/dd"; one-digit month and day
// are taken), the situation and the seven values in entry order (weight, body fat, basal
// metabolism, visceral fat, muscle mass, muscle score, bone mass).
struct CorrectionTexts {
    std::string date;
    std::string situation;
    std::array<std::string, 7> values;
};
// A refusal of typed values, worded as the entry screen words it.
struct CorrectionMessage {
    std::string text;
    std::string title;
    int field = -1;  // the value (0..6) refused, -1 for the date or the situation
    bool operator==(const CorrectionMessage&) const = default;
};
struct CorrectionRead {
    std::optional<MeasurementRecord> values;  // set when every text reads
    std::optional<CorrectionMessage> refusal;
};
// The checks of the entry screen: a situation, a weight and a body fat entered, the
// situation storable, each value a typed number of its kind (an empty optional one is 0),
// then a date that is a real day. The first failure is returned.
CorrectionRead readCorrection(const CorrectionTexts& texts);
// The question asked before a deletion, naming whose weighing it is:
// "みさきの 2026/12/07 朝食前 65.2kg の測定を削除しますか？".
std::string deleteQuestion(const std::string& nickname, const MeasurementRecord& record);
// The refusal of an edit, worded for a message box (empty for None).
std::string editRefusalText(EditRefusal refusal);

}  // namespace pairly::store
