#pragma once
// The new start without the screen: the eleven fields checked, the profile and the
// one-record log of a partner planned, the old diary copied into バックアップ/ and the two
// files replaced. Also the first-run test of start-up.
#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/store/partner_profile.h"
#include "core/text/dates.h"

namespace pairly::settings {

// A message box shown instead of going on.
enum class NoticeIcon { Information, Warning };
struct Notice {
    std::string text;
    std::string title;
    NoticeIcon icon = NoticeIcon::Information;
    int field = -1;  // the field to give the focus, -1 for none
    bool operator==(const Notice&) const = default;
};

// The fields of the new-start panel in the order Enter walks them.
enum NewStartField {
    kNickname,         // txtPriData1
    kHeight,           // txtSincyou1
    kTargetWeight,     // txtMokuTai1
    kWeight,           // txtNowTai
    kBodyFat,          // txtNowShi
    kBasalMetabolism,  // txtNowTaisya
    kVisceralFat,      // txtNowNaizo
    kMuscleMass,       // txtNowKinr
    kMuscleScore,      // txtNowKins
    kBoneMass,         // txtNowKotu
    kStartSituation,   // txtNowJyou
    kNewStartFieldCount
};
using NewStartTexts = std::array<std::string, kNewStartFieldCount>;

// The start situation offered when the panel first opens.
inline constexpr char kDefaultStartSituation[] = "はじめの一歩";

// A typed number refused: "<name>は<range>数値で入力してください" titled "<name>入力エラー",
// warning icon, focus to `field`.
Notice refusedNumber(const std::string& name, disk::NumberKind kind, int field);

// Field by field in Enter order: an empty (or blank) field gives its emptiness message
// ("身長が入力されていません" / "身長未入力", information icon; the muscle score keeps the
// title "現筋肉量未入力"); a number field that is not a number of its kind (height above 0;
// weights above 0 and at most 600; body fat 0..100; masses 0..600; the three integer
// fields within 16 bits) is refused naming the field and its range (refusedNumber); a
// nickname or start situation that cannot be stored gives a warning naming it.
std::optional<Notice> validateNewStart(const NewStartTexts& texts);

// What entering one partner writes: the profile and the single start record, whose
// numbers are the typed values written as such (65.30 -> 65.3; a fraction typed into an
// integer field stays in the file and readers round it).
struct NewStartPlan {
    store::PartnerProfile profile;
    std::string logContent;  // one line with CR LF
};
// texts must have passed validateNewStart.
NewStartPlan planNewStart(const NewStartTexts& texts, const std::string& today);

// Where a new start keeps the diary it replaces.
using disk::kBackupFolder;
// "データ1.txt" at 2026/12/07 7:05:09 -> "データ1_20261207_070509.txt".
std::string backupName(const std::string& fileName, const text::Date& day, int secondsOfDay);

enum class NewStartStatus {
    Written,
    WrittenUnsynced,  // both files written, but the disk did not confirm it
    ReadFailed,       // an old file could not be read whole; nothing written
    BackupFailed,     // a copy could not be made; nothing replaced
    WriteFailed,      // the profile or the log could not be written; both files as before
    Changed,          // another window changed a file meanwhile; nothing written
    HalfWritten,      // stopped half way: the next start completes it
    HalfUndone,       // stopped half way: the next start puts the old files back
    Busy,             // another program was changing the data folder; nothing written
    Unusable,         // the profile or the log is a link or no regular file; nothing written
};
// Copies the slot's profile and log, byte for byte, into バックアップ/ under names with
// the date and time, then replaces both as one change of two files (change_set.h): the two
// files always belong together, also after a crash.
NewStartStatus writeNewStart(const std::filesystem::path& folder, int slot,
                             const NewStartPlan& plan, const text::Date& day, int secondsOfDay);
// The message for a status other than Written (warning icon, title "保存エラー"; for
// WrittenUnsynced the message of a change the disk did not confirm, naming slot's files).
Notice newStartFailure(NewStartStatus status, int slot = 1);

// Neither partner has a profile or a log yet: the couple starts by entering themselves.
bool isFirstRun(const std::filesystem::path& folder);

}  // namespace pairly::settings
