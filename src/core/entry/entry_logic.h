#pragma once
// The entry panel's arithmetic and the save of one weighing: stepping a field, filling
// the fields from previousValues, validating the panel and writing the record.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/disk/fields.h"
#include "core/entry/day_view.h"
#include "core/store/measurement_log.h"

namespace pairly::entry {

// The seven value fields in entry order (the Enter key walks this order).
enum class Field {
    Weight,           // txtTaiInp
    BodyFat,          // txtShiInp
    BasalMetabolism,  // txtTaisya
    VisceralFat,      // txtNaizo
    MuscleMass,       // txtKinr
    MuscleScore,      // txtKins
    BoneMass,         // txtKotu
};
constexpr int kFieldCount = 7;
using FieldTexts = std::array<std::string, kFieldCount>;

// The step text of a field: the scale steps for weight and body fat, "0.1" for muscle
// and bone mass, "1" for the integer fields.
std::string stepTextFor(Field field, const std::string& weightStep, const std::string& bodyFatStep);

// A step text as a number: a typed number (disk::readTypedNumber) above 0 and at most
// 10; anything else ("", "abc", "0.1x", "-0.5") gives nullopt.
std::optional<double> parseStep(const std::string& stepText);

// Field texts are read by their leading number (text::leadingNumber); full-width digits,
// point and signs typed with the input method count as their ASCII forms.
//
// One press of ↑ (up) or ↓: the field's leading number plus or minus the step, in double,
// written back with up to 15 significant digits (60.2 + 0.1 -> "60.3", "" ↑ 0.2 -> "0.2",
// "0" ↓ 1 -> "-1"). A step text that does not read as a number, or a result that is not
// finite, leaves the field's text unchanged.
std::string stepValue(const std::string& fieldText, const std::string& stepText, bool up);

// The seven field texts for previousValues: floats as shortest float text (65, 65.3),
// integers as integer text.
FieldTexts fillTexts(const store::Readings& values);

// Marker mode of the small charts: 0 none, 1 circle, 2 ball; cycles 0, 1, 2, 0.
int nextMarkerMode(int mode);

// --- saving ------------------------------------------------------------------------------

struct SaveRequest {
    std::string situation;    // selectedSituation
    FieldTexts fieldTexts;    // the seven fields in entry order
    std::string selectedDay;  // mtvmain's day, "yyyy/mm/dd"
    bool autoTime = false;    // chkJikan
    std::string timeText;     // time of saving in the long time form, e.g. "7:05:09"
};

// A message box shown instead of saving: warning icon, OK.
struct SaveMessage {
    SaveMessage(std::string text_, std::string title_, std::optional<Field> field_ = {})
        : text(std::move(text_)), title(std::move(title_)), field(field_) {}
    std::string text;
    std::string title;
    // The field whose value was refused; the screen gives it the focus.
    std::optional<Field> field;
    bool operator==(const SaveMessage&) const = default;
};

// nullopt when the text is a typed number of that kind (disk::readTypedNumber);
// otherwise disk::refusedNumberText ("<name>は<range>数値で入力してください") titled
// "<name>入力エラー".
std::optional<SaveMessage> checkTypedNumber(const std::string& text, const std::string& name,
                                            disk::NumberKind kind);

// The Yes/No question asked before a weighing is saved for a day after today, naming the
// day ("2026/12/08 は今日より後の日付です。…"), titled "日付確認"; nullopt for today or an
// earlier day, and for a selected day that is not a date.
std::optional<SaveMessage> futureDayQuestion(const std::string& selectedDay,
                                             const std::string& today);

enum class WriteMode { Append, Insert };

struct SavePlan {
    store::MeasurementRecord record;
    WriteMode mode = WriteMode::Append;
};

// The entry checked once, when it is to be saved.
struct CheckedEntry {
    SaveRequest request;
    std::optional<store::Readings> readings;  // the seven values, when every check passed
    std::optional<SaveMessage> refusal;       // the first failure otherwise
};
// Checks the request alone, in order: situation chosen ("行動が指定されていません" /
// "行動未入力"), weight entered ("体重が入力されていません" / "体重未入力"), body fat entered
// ("体脂肪率が入力されていません" / "体脂肪率未入力"); then the situation can be stored (no
// double quote, CR or LF), each field in entry order is a typed number of its kind (an
// empty optional field is 0), and the day is a valid "yyyy/mm/dd". The first failure is
// the refusal.
CheckedEntry checkEntry(SaveRequest request);

// The checked entry, then the log checks: a log already holding kMaxRecords records is
// refused. The record is inserted when the log's last day is later than the selected day
// (with an empty comment), otherwise appended (comment = timeText when autoTime is on).
struct PlanResult {
    std::optional<SavePlan> plan;        // set when the save may go ahead
    std::optional<SaveMessage> refusal;  // set otherwise
};
PlanResult planSave(const CheckedEntry& entry, int recordCount,
                    const std::optional<std::string>& lastRecordDate);

// saveMeasurement without the screen: reads the log of `slot` in `folder` once, plans, and
// has the store add the record from that read (store::addRecord). `saved` is true only
// when the write succeeded; otherwise `message` holds the refusal or the write error
// ("データの保存に失敗しました…" / "保存エラー"), and the log is unchanged. A log changed
// since the read (by another window) is refused with the stale-file notice and `stale`.
struct SaveOutcome {
    bool saved = false;
    bool stale = false;
    std::optional<SaveMessage> message;
    std::optional<SavePlan> plan;             // what was (or would have been) written
    std::optional<store::LoadedLog> written;  // when saved: the log as the file now holds it
};
SaveOutcome saveMeasurement(const std::filesystem::path& folder, int slot,
                            const CheckedEntry& entry);
// The same for a request not checked yet.
SaveOutcome saveMeasurement(const std::filesystem::path& folder, int slot,
                            const SaveRequest& request);

// The line under the entry panel after a save, naming whose weighing it was:
// "みさき：起床後 53.4Kg を保存しました（7:12）".
std::string savedLine(const std::string& nickname, const store::MeasurementRecord& record,
                      int secondsSinceMidnight);

}  // namespace pairly::entry
