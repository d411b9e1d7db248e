#include "core/store/notes_memo.h"

#include <gtest/gtest.h>

#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using Op = disk::fileops::Op;

TEST(NotesMemo, FileLinesBecomeTheTextWithoutTheLastLineEnd) {
    const struct {
        const char* file;
        const char* text;
    } cases[] = {
        {"", ""},
        {"\r\n", ""},
        {"a", "a"},
        {"a\r\n", "a"},
        {"a\r\n\r\n", "a\n"},                    // an empty last line
        {"\r\n\r\na\r\n\r\n\r\n", "\n\na\n\n"},  // empty lines around the text
        {"a\r\n\r\nb\r\n", "a\n\nb"},
        {"a\nb\n", "a\nb"},  // lone LF
        {"a\rb\r", "a\nb"},  // lone CR
        {"a\r\r\nb", "a\n\nb"},
    };
    for (const auto& c : cases) EXPECT_EQ(memoFromFileText(c.file), c.text) << c.file;
}

TEST(NotesMemo, SavedTextReadsBackAsTyped) {
    TempFolder folder;
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {
        {"", "\r\n"},
        {"a", "a\r\n"},
        {"a\n", "a\r\n\r\n"},
        {"\n\nx\n\n", "\r\n\r\nx\r\n\r\n\r\n"},
        {"夜\n\"甘い物\", 控える",
         "\x96\xe9\r\n\"\x8a\xc3\x82\xa2\x95\xa8\", \x8d\x54\x82\xa6\x82\xe9\r\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(saveMemo(folder.path(), c.text)) << c.text;
        EXPECT_EQ(folder.readBytes("気付きメモ.txt"), c.bytes) << c.text;
        const MemoText memo = loadMemo(folder.path());
        EXPECT_EQ(memo.status, disk::ReadStatus::Ok);
        EXPECT_EQ(memo.text, c.text);
    }
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"気付きメモ.txt"});
}

TEST(NotesMemo, NameIsMatchedWithoutCaseAndAMissingFileIsEmpty) {
    TempFolder folder;
    const MemoText missing = loadMemo(folder.path());
    EXPECT_EQ(missing.status, disk::ReadStatus::Missing);
    EXPECT_EQ(missing.text, "");
    folder.writeCp932("気付きメモ.TXT", "メモ\r\n");
    EXPECT_EQ(loadMemo(folder.path()).text, "メモ");
    ASSERT_TRUE(saveMemo(folder.path(), "新しいメモ"));
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"気付きメモ.TXT"});
    EXPECT_EQ(folder.readCp932("気付きメモ.TXT"), "新しいメモ\r\n");
}

TEST(NotesMemo, CharacterWithoutCp932FormIsNamedAndRefused) {
    EXPECT_EQ(firstCharWithoutCp932Form("ダイエット①～"), std::nullopt);
    EXPECT_EQ(firstCharWithoutCp932Form("a𠮷b😀"), "𠮷");
    EXPECT_EQ(firstCharWithoutCp932Form("ok 😀"), "😀");
    EXPECT_EQ(firstCharWithoutCp932Form("x\uF781A"), "\uF781");  // would read back as 、
    EXPECT_EQ(firstCharWithoutCp932Form("x\uF781\r\n"), std::nullopt);
    TempFolder folder;
    folder.writeCp932("気付きメモ.txt", "元のメモ\r\n");
    EXPECT_FALSE(saveMemo(folder.path(), "ケーキ🍰"));
    EXPECT_EQ(folder.readCp932("気付きメモ.txt"), "元のメモ\r\n");
}

// Each step failing in turn: the old memo and a failure, or the new memo with the word
// that the disk did not confirm it; never a fault that goes untold.
TEST(NotesMemo, EveryFailingStepLeavesTheOldOrTheNewMemo) {
    TempFolder folder;
    const std::string before = "元のメモ\r\n\r\n";
    const std::string after = "新しいメモ\r\n";
    folder.writeCp932("気付きメモ.txt", before);
    const disk::FileStamp shown = loadMemo(folder.path()).stamp;
    long steps = 0;
    {
        auto count = InjectFaults::from(1000000);
        ASSERT_EQ(saveMemo(folder.path(), "新しいメモ", shown).status, disk::WriteStatus::Ok);
        steps = count.seen();
    }
    ASSERT_GT(steps, 3);
    int failures = 0, unsynced = 0;
    for (long n = 1; n <= steps; ++n) {
        folder.writeCp932("気付きメモ.txt", before);
        disk::WriteResult result;
        {
            auto fail = InjectFaults::once(n);
            result = saveMemo(folder.path(), "新しいメモ", shown);
        }
        EXPECT_NE(result.status, disk::WriteStatus::Ok) << "step " << n;
        failures += result.written() ? 0 : 1;
        unsynced += result.status == disk::WriteStatus::Unsynced ? 1 : 0;
        EXPECT_EQ(folder.readCp932("気付きメモ.txt"), result.written() ? after : before)
            << "step " << n;
        EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"気付きメモ.txt"}) << "step " << n;
    }
    // open, write, fsync, close of the temporary file; the check's open, read and close;
    // the rename.
    EXPECT_GE(failures, 7);
    EXPECT_EQ(unsynced, 1);  // the folder's fsync after the rename
    auto fail = InjectFaults::always({disk::fileops::Op::Read});
    EXPECT_TRUE(loadMemo(folder.path()).failed());
}

// A memo saved in another window (or on the other PC) after this one read it is not
// overwritten; a memo this window saved can be saved again.
TEST(NotesMemo, AMemoChangedElsewhereIsNotOverwritten) {
    TempFolder folder;
    folder.writeCp932("気付きメモ.txt", "元のメモ\r\n");
    const disk::FileStamp first = loadMemo(folder.path()).stamp;
    const disk::WriteResult saved = saveMemo(folder.path(), "窓A", first);
    ASSERT_EQ(saved.status, disk::WriteStatus::Ok);
    EXPECT_EQ(saved.stamp, loadMemo(folder.path()).stamp);
    EXPECT_EQ(saveMemo(folder.path(), "窓A 二回目", saved.stamp).status, disk::WriteStatus::Ok);

    const struct {
        const char* other;  // what the other window left, nullptr: removed
        disk::FileStamp shown;
    } cases[] = {
        {"窓Bのメモ\r\n", loadMemo(folder.path()).stamp},
        {"窓A 二回目\r\n\r\n", loadMemo(folder.path()).stamp},  // one empty line more
        {nullptr, loadMemo(folder.path()).stamp},
        {"窓A 二回目\r\n", disk::FileStamp::missing()},  // read before the file was made
        {"窓A 二回目\r\n", disk::FileStamp{}},           // a read that failed
    };
    for (const auto& c : cases) {
        if (c.other) {
            folder.writeCp932("気付きメモ.txt", c.other);
        } else {
            std::filesystem::remove(folder.path() / "気付きメモ.txt");
        }
        const auto bytes = folder.readBytes("気付きメモ.txt");
        EXPECT_EQ(saveMemo(folder.path(), "窓Aの古い続き", c.shown).status,
                  disk::WriteStatus::Stale);
        EXPECT_EQ(folder.readBytes("気付きメモ.txt"), bytes);
        EXPECT_EQ(folder.exists("気付きメモ.txt"), c.other != nullptr);
        folder.writeCp932("気付きメモ.txt", "窓A 二回目\r\n");
    }
    // A memo that did not exist when it was read may be made.
    std::filesystem::remove(folder.path() / "気付きメモ.txt");
    EXPECT_EQ(saveMemo(folder.path(), "初めて", disk::FileStamp::missing()).status,
              disk::WriteStatus::Ok);
}

}  // namespace
}  // namespace pairly::store
